// SPDX-License-Identifier: MIT
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

#include "media/collection.h"
#include "desktop/media/asset_loader.h"
#include "desktop/media/picture_data.h"
#include "desktop/media/qt_surface.h"

namespace pelmoravan {
namespace {

constexpr TColor kWhite = 16777215;
constexpr TColor kRed = 255;
constexpr TColor kBlue = 0xFF0000;
const QRgb kBlack = qRgb(0, 0, 0);

QRgb At(const TQtSurface& s, int x, int y) { return s.Image().pixel(x, y); }

// An item whose picture is the given image.
TPictureCollectionItem Item(const QImage& image, bool transparent, TColor key) {
    TPictureCollectionItem item;
    item.Name = "test";
    item.Picture = std::make_shared<TQtPictureData>(image);
    item.Transparent = transparent;
    item.TransparentColor = key;
    return item;
}

// A w x h picture filled with one colour, in the 24-bit format of the catalog.
QImage Picture(int w, int h, QRgb fill) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(fill);
    return image;
}

TEST(Canvas, FillRectCoversLeftAndTopButNotRightAndBottom) {
    TQtSurface s(QSize(40, 30));
    s.SetBrushColor(kRed);
    s.FillRect({10, 10, 20, 15});
    s.Release();
    EXPECT_EQ(At(s, 10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(At(s, 19, 14), qRgb(255, 0, 0));
    EXPECT_EQ(At(s, 20, 10), kBlack);
    EXPECT_EQ(At(s, 10, 15), kBlack);
    EXPECT_EQ(At(s, 9, 10), kBlack);
    EXPECT_EQ(At(s, 10, 9), kBlack);
    // Empty and inverted rectangles paint nothing; one reaching past the surface is clipped.
    s.SetBrushColor(kWhite);
    s.FillRect({5, 5, 5, 20});
    s.FillRect({30, 20, 25, 25});
    s.FillRect({35, 25, 2147483647, 2147483647});
    s.Release();
    EXPECT_EQ(At(s, 5, 5), kBlack);
    EXPECT_EQ(At(s, 27, 22), kBlack);
    EXPECT_EQ(At(s, 39, 29), qRgb(255, 255, 255));
    EXPECT_EQ(At(s, 34, 29), kBlack);
}

TEST(Canvas, ColoursAreBlueGreenRedFromTheHighByte) {
    TQtSurface s(QSize(4, 1));
    const TColor colours[] = {255, 65535, 32768, kBlue};
    const QRgb expected[] = {qRgb(255, 0, 0), qRgb(255, 255, 0), qRgb(0, 128, 0), qRgb(0, 0, 255)};
    for (int i = 0; i < 4; ++i) {
        s.SetBrushColor(colours[i]);
        s.FillRect({i, 0, i + 1, 1});
    }
    s.Release();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(At(s, i, 0), expected[i]) << i;
    }
}

TEST(Canvas, ClearBrushPaintsNothingUntilAColourMakesItSolidAgain) {
    TQtSurface s(QSize(20, 20));
    s.SetBrushColor(kRed);
    s.SetBrushStyle(TBrushStyle::bsClear);
    s.FillRect({0, 0, 20, 20});
    s.Release(); // end of the frame: the brush stays clear
    EXPECT_EQ(At(s, 5, 5), kBlack);
    s.SetBrushColor(kWhite);
    s.FillRect({0, 0, 10, 10});
    s.Release();
    EXPECT_EQ(At(s, 5, 5), qRgb(255, 255, 255));
}

TEST(Canvas, BrushPenAndFontOutliveReleaseAndResize) {
    TQtSurface s(QSize(20, 20));
    s.SetBrushColor(kBlue);
    s.SetFontSize(30);
    const std::int32_t bigWidth = s.TextWidth("Score");
    s.Release();
    s.Resize(QSize(30, 30));
    EXPECT_EQ(s.Width(), 30);
    EXPECT_EQ(At(s, 29, 29), kBlack);
    s.FillRect({0, 0, 2, 2});
    s.Release();
    EXPECT_EQ(At(s, 1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(s.TextWidth("Score"), bigWidth);
    s.SetFontSize(9);
    EXPECT_LT(s.TextWidth("Score"), bigWidth);
}

TEST(Canvas, TextSitsOnAnOpaqueBoxWhileTheBrushIsSolid) {
    TQtSurface s(QSize(200, 60));
    s.SetBrushColor(kBlue);
    s.SetFontColor(kWhite);
    s.SetFontSize(9);
    const int w = s.TextWidth("Remain Time : 437");
    const int h = s.TextHeight("Remain Time : 437");
    ASSERT_GT(w, 20);
    ASSERT_GT(h, 5);
    s.TextOut(10, 20, "Remain Time : 437");
    s.Release();
    // The box's corners are brush colour, the pixels just outside it untouched.
    EXPECT_EQ(At(s, 10, 20), qRgb(0, 0, 255));
    EXPECT_EQ(At(s, 10 + w - 1, 20 + h - 1), qRgb(0, 0, 255));
    EXPECT_EQ(At(s, 9, 20), kBlack);
    EXPECT_EQ(At(s, 10 + w, 20), kBlack);
    EXPECT_EQ(At(s, 10, 20 + h), kBlack);
    // Glyphs are white inside the box.
    int white = 0;
    for (int y = 20; y < 20 + h; ++y) {
        for (int x = 10; x < 10 + w; ++x) {
            white += At(s, x, y) == qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    EXPECT_GT(white, 10);
}

TEST(Canvas, TextWithAClearBrushDrawsOnlyTheGlyphs) {
    TQtSurface s(QSize(200, 60));
    s.SetBrushStyle(TBrushStyle::bsClear);
    s.SetFontColor(kRed);
    s.SetFontSize(12);
    s.TextOut(10, 10, "Scores : 350");
    s.Release();
    int red = 0;
    int other = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            const QRgb p = At(s, x, y);
            red += p == qRgb(255, 0, 0) ? 1 : 0;
            // Smoothed glyph edges blend red into black; nothing else may appear.
            other += (qGreen(p) != 0 || qBlue(p) != 0) ? 1 : 0;
        }
    }
    EXPECT_GT(red, 10);
    EXPECT_EQ(other, 0);
    EXPECT_EQ(At(s, 10, 10), kBlack);
}

TEST(Canvas, TheFaceShowsTheChineseTexts) {
    TQtSurface s(QSize(10, 10));
    s.SetFontSize(9);
    QFont font(QString::fromLatin1(kCanvasFontFamily));
    font.setPointSize(9);
    EXPECT_TRUE(QFontInfo(font).family().startsWith(QStringLiteral("WenQuanYi")))
        << QFontInfo(font).family().toStdString();
    const QFontMetrics metrics(font);
    for (const char32_t c : std::u32string(U"时间剩余次见缝插针第")) {
        EXPECT_TRUE(metrics.inFontUcs4(c)) << static_cast<unsigned>(c);
    }
    // Four ideographs are about as wide as four times one.
    const int one = s.TextWidth("时");
    EXPECT_GT(one, 5);
    EXPECT_NEAR(s.TextWidth("时间剩余"), 4 * one, 2);
}

TEST(Canvas, PolylineOfWidthThreeRunsAlongItsPoints) {
    TQtSurface s(QSize(40, 40));
    s.SetPenColor(kWhite);
    s.SetPenWidth(3);
    s.Polyline({{10, 30}, {10, 10}, {30, 10}});
    s.Release();
    const QRgb white = qRgb(255, 255, 255);
    for (int x : {9, 10, 11}) {
        EXPECT_EQ(At(s, x, 20), white) << x;
    }
    for (int y : {9, 10, 11}) {
        EXPECT_EQ(At(s, 20, y), white) << y;
    }
    EXPECT_EQ(At(s, 13, 20), kBlack);
    EXPECT_EQ(At(s, 20, 13), kBlack);
    EXPECT_EQ(At(s, 20, 20), kBlack);
}

TEST(Surface, FillSetsEveryPixelAlsoWhileTheCanvasIsHeld) {
    TQtSurface s(QSize(8, 8));
    s.SetBrushColor(kWhite);
    s.FillRect({0, 0, 8, 8});
    EXPECT_TRUE(s.Painting());
    s.Fill(0);
    s.Release();
    EXPECT_EQ(At(s, 0, 0), kBlack);
    EXPECT_EQ(At(s, 7, 7), kBlack);
    EXPECT_EQ(qAlpha(At(s, 3, 3)), 255);
}

// Key pixels in a 4 x 2 picture: (0,0) and (3,1).
QImage KeyedPicture(QRgb key, QRgb other) {
    QImage image = Picture(4, 2, other);
    image.setPixel(0, 0, key);
    image.setPixel(3, 1, key);
    return image;
}

TEST(ImageDraw, KeyPixelsLeaveTheDestinationAlone) {
    const QRgb key = qRgb(199, 228, 255); // 16770247
    const TPictureCollectionItem item = Item(KeyedPicture(key, qRgb(0, 200, 0)), true, 16770247);
    TQtSurface s(QSize(10, 10));
    s.SetBrushColor(kRed);
    s.FillRect({0, 0, 10, 10});
    s.Release();
    s.Draw(item, 2, 3, 0);
    s.Release();
    EXPECT_EQ(At(s, 2, 3), qRgb(255, 0, 0));
    EXPECT_EQ(At(s, 5, 4), qRgb(255, 0, 0));
    EXPECT_EQ(At(s, 3, 3), qRgb(0, 200, 0));
    EXPECT_EQ(At(s, 2, 4), qRgb(0, 200, 0));
    EXPECT_EQ(At(s, 6, 3), qRgb(255, 0, 0)); // right of the picture
}

TEST(ImageDraw, AnOpaqueItemCopiesItsKeyColourToo) {
    // The logo carries black as its key but is drawn whole.
    const TPictureCollectionItem logo = Item(KeyedPicture(kBlack, qRgb(0, 0, 200)), false, 0);
    TQtSurface s(QSize(10, 10));
    s.SetBrushColor(kWhite);
    s.FillRect({0, 0, 10, 10});
    s.Release();
    s.Draw(logo, 0, 0, 0);
    s.Release();
    EXPECT_EQ(At(s, 0, 0), kBlack);
    EXPECT_EQ(At(s, 1, 0), qRgb(0, 0, 200));
    // The same picture drawn as a transparent item keeps the white under its key pixels.
    const TPictureCollectionItem keyed = Item(KeyedPicture(kBlack, qRgb(0, 0, 200)), true, 0);
    s.Draw(keyed, 5, 5, 0);
    s.Release();
    EXPECT_EQ(At(s, 5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(At(s, 6, 5), qRgb(0, 0, 200));
}

TEST(ImageDraw, KeyMatchesExactlyAndIgnoresNearColours) {
    QImage image = Picture(3, 1, qRgb(199, 228, 255));
    image.setPixel(1, 0, qRgb(199, 228, 254));
    image.setPixel(2, 0, qRgb(198, 228, 255));
    const TPictureCollectionItem item = Item(image, true, 16770247);
    TQtSurface s(QSize(3, 1));
    s.Draw(item, 0, 0, 0);
    s.Release();
    EXPECT_EQ(At(s, 0, 0), kBlack);
    EXPECT_EQ(At(s, 1, 0), qRgb(199, 228, 254));
    EXPECT_EQ(At(s, 2, 0), qRgb(198, 228, 255));
}

TEST(ImageDraw, KeyIsTurnedIntoAlphaOnceAndKeptForLaterDraws) {
    auto data = std::make_shared<TQtPictureData>(KeyedPicture(kBlack, qRgb(9, 9, 9)));
    const QImage& first = data->Keyed(0);
    const qint64 id = first.cacheKey();
    EXPECT_EQ(qAlpha(first.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(first.pixel(1, 0)), 255);
    EXPECT_EQ(data->Keyed(0).cacheKey(), id);
    // One copy of the pixels serves both forms: each comes back exactly.
    EXPECT_EQ(data->Opaque().pixel(0, 0), kBlack);
    EXPECT_EQ(qAlpha(data->Keyed(0x090909).pixel(1, 0)), 0);
    EXPECT_EQ(data->Keyed(0x090909).pixel(0, 0), kBlack);
    EXPECT_EQ(data->Keyed(0).pixel(1, 0), qRgb(9, 9, 9));
    EXPECT_EQ(qAlpha(data->Keyed(0).pixel(3, 1)), 0);
}

TEST(ImageDraw, DrawsClipToTheSurface) {
    const TPictureCollectionItem item = Item(Picture(4, 4, qRgb(0, 255, 0)), false, 0);
    TQtSurface s(QSize(6, 6));
    s.Draw(item, -2, -2, 0);
    s.Draw(item, 4, 4, 0);
    s.Release();
    EXPECT_EQ(At(s, 0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(At(s, 1, 1), qRgb(0, 255, 0));
    EXPECT_EQ(At(s, 2, 2), kBlack);
    EXPECT_EQ(At(s, 5, 5), qRgb(0, 255, 0));
}

TEST(ImageDraw, StretchFillsTheRectangleWithNearestPixels) {
    // Left half red, right half blue; stretched 2x into (2, 2, 10, 6).
    QImage image = Picture(4, 2, qRgb(255, 0, 0));
    image.setPixel(2, 0, qRgb(0, 0, 255));
    image.setPixel(3, 0, qRgb(0, 0, 255));
    image.setPixel(2, 1, qRgb(0, 0, 255));
    image.setPixel(3, 1, qRgb(0, 0, 255));
    const TPictureCollectionItem item = Item(image, false, 0);
    TQtSurface s(QSize(12, 8));
    s.StretchDraw(item, {2, 2, 10, 6}, 0);
    s.Release();
    EXPECT_EQ(At(s, 2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(At(s, 5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(At(s, 6, 2), qRgb(0, 0, 255));
    EXPECT_EQ(At(s, 9, 5), qRgb(0, 0, 255));
    EXPECT_EQ(At(s, 10, 2), kBlack);
    EXPECT_EQ(At(s, 2, 6), kBlack);
    EXPECT_EQ(At(s, 1, 2), kBlack);
}

TEST(ImageDraw, StretchHonoursTheKey) {
    // A 50 x 38 tile on the key colour with a 10 x 10 mark, stretched into a 50 x 37 cell.
    QImage tile = Picture(50, 38, qRgb(199, 228, 255));
    for (int y = 10; y < 20; ++y) {
        for (int x = 20; x < 30; ++x) {
            tile.setPixel(x, y, qRgb(200, 0, 200));
        }
    }
    const TPictureCollectionItem item = Item(tile, true, 16770247);
    TQtSurface s(QSize(200, 100));
    s.SetBrushColor(32768);
    s.FillRect({0, 0, 200, 100});
    s.Release();
    s.StretchDraw(item, {108, 40, 158, 77}, 0);
    s.Release();
    int marked = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            const QRgb p = At(s, x, y);
            if (p == qRgb(200, 0, 200)) {
                ++marked;
                EXPECT_TRUE(x >= 108 && x < 158 && y >= 40 && y < 77);
            } else {
                EXPECT_EQ(p, qRgb(0, 128, 0)) << x << "," << y;
            }
        }
    }
    EXPECT_GE(marked, 90);
    EXPECT_LE(marked, 100);
}

TEST(ImageDraw, NothingIsDrawnForEmptyRectanglesBadPatternsOrMissingPixels) {
    const TPictureCollectionItem item = Item(Picture(4, 4, qRgb(0, 255, 0)), false, 0);
    TPictureCollectionItem empty;
    TQtSurface s(QSize(8, 8));
    s.StretchDraw(item, {2, 2, 2, 6}, 0);
    s.StretchDraw(item, {6, 6, 2, 2}, 0);
    s.Draw(item, 0, 0, 1);
    s.Draw(item, 0, 0, -1);
    s.Draw(empty, 0, 0, 0);
    s.StretchDraw(empty, {0, 0, 8, 8}, 0);
    s.WaveDraw(empty, 0, 0, 8, 8, 0, 4, 200, 0);
    s.WaveDraw(item, 0, 0, 8, 8, 3, 4, 200, 0);
    s.Release();
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(At(s, x, y), kBlack);
        }
    }
}

TEST(ImageDraw, PatternsCutThePictureIntoCells) {
    // Two 2 x 2 patterns side by side: red, then blue.
    QImage image = Picture(4, 2, qRgb(255, 0, 0));
    for (int y = 0; y < 2; ++y) {
        image.setPixel(2, y, qRgb(0, 0, 255));
        image.setPixel(3, y, qRgb(0, 0, 255));
    }
    TPictureCollectionItem item = Item(image, false, 0);
    item.PatternWidth = 2;
    item.PatternHeight = 2;
    EXPECT_EQ(PatternQRect(item, 1), QRect(2, 0, 2, 2));
    EXPECT_FALSE(PatternQRect(item, 2).has_value());
    TQtSurface s(QSize(4, 4));
    s.Draw(item, 0, 0, 1);
    s.Release();
    EXPECT_EQ(At(s, 0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(At(s, 2, 0), kBlack);
}

// A 20 x 200 picture, green with a white first column: the white pixel marks where a row starts.
QImage WavePicture() {
    QImage image = Picture(20, 200, qRgb(0, 255, 0));
    for (int y = 0; y < 200; ++y) {
        image.setPixel(0, y, qRgb(255, 255, 255));
    }
    return image;
}

int RowStart(const TQtSurface& s, int y) {
    for (int x = 0; x < s.Width(); ++x) {
        if (At(s, x, y) == qRgb(255, 255, 255)) {
            return x;
        }
    }
    return -1000;
}

TEST(WaveDraw, RowsShiftAlongTheSine) {
    const TPictureCollectionItem item = Item(WavePicture(), false, 0);
    TQtSurface s(QSize(100, 220));
    s.WaveDraw(item, 50, 10, 20, 200, 0, 4, 200, 0);
    EXPECT_EQ(RowStart(s, 10), 50);
    EXPECT_EQ(RowStart(s, 60), 54);
    EXPECT_EQ(RowStart(s, 110), 50);
    EXPECT_EQ(RowStart(s, 160), 46);
    // Row 150 is 20 pixels long starting at 46; row 50 leaves its first four pixels black.
    EXPECT_EQ(At(s, 65, 160), qRgb(0, 255, 0));
    EXPECT_EQ(At(s, 66, 160), kBlack);
    EXPECT_EQ(At(s, 53, 60), kBlack);
    EXPECT_EQ(At(s, 50, 9), kBlack);
    EXPECT_EQ(At(s, 50, 210), kBlack);
}

TEST(WaveDraw, ClippingKeepsEachRowsShiftAndSourceRow) {
    // Source rows carry their number in the green channel so that the row taken can be read.
    QImage image = Picture(20, 200, qRgb(0, 0, 0));
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 20; ++x) {
            image.setPixel(x, y, x == 0 ? qRgb(255, 255, 255) : qRgb(0, y, 7));
        }
    }
    const TPictureCollectionItem item = Item(image, false, 0);
    TQtSurface s(QSize(30, 120));
    // 50 rows above the surface and the left edge off it by 3.
    s.WaveDraw(item, -3, -50, 20, 200, 0, 4, 200, 0);
    // Surface row 0 is destination row 50: shift +4, so it starts at x 1 with source row 50.
    EXPECT_EQ(RowStart(s, 0), 1);
    EXPECT_EQ(qGreen(At(s, 5, 0)), 50);
    // Destination row 100 (surface row 50) is unshifted: its white column is off the surface.
    EXPECT_EQ(RowStart(s, 50), -1000);
    EXPECT_EQ(At(s, 0, 50), qRgb(0, 100, 7));
    // Destination row 150: shift -4, start -7; the first visible pixel is its column 7.
    EXPECT_EQ(At(s, 0, 100), qRgb(0, 150, 7));
    EXPECT_EQ(At(s, 12, 100), qRgb(0, 150, 7));
    EXPECT_EQ(At(s, 13, 100), kBlack);
}

TEST(WaveDraw, ScalesWithFixedPointStepsAndHonoursTheKey) {
    // 4 x 2 source, columns red, key, blue, blue; scaled to 8 x 4 with no wave.
    QImage image = Picture(4, 2, qRgb(0, 0, 255));
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(0, 1, qRgb(255, 0, 0));
    image.setPixel(1, 0, kBlack);
    image.setPixel(1, 1, kBlack);
    const TPictureCollectionItem item = Item(image, true, 0);
    TQtSurface s(QSize(10, 5));
    s.SetBrushColor(kWhite);
    s.FillRect({0, 0, 10, 5});
    s.Release();
    s.WaveDraw(item, 1, 0, 8, 4, 0, 0, 200, 0);
    const QRgb row[] = {qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(255, 0, 0),
                        qRgb(255, 255, 255), qRgb(255, 255, 255), qRgb(0, 0, 255),
                        qRgb(0, 0, 255), qRgb(0, 0, 255), qRgb(0, 0, 255),
                        qRgb(255, 255, 255)};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 10; ++x) {
            EXPECT_EQ(At(s, x, y), row[x]) << x << "," << y;
        }
    }
    EXPECT_EQ(At(s, 1, 4), qRgb(255, 255, 255));
}

TEST(AssetLoading, AMissingResourceNamesItself) {
    try {
        LoadPicture(QStringLiteral(":/assets/tiles/nothing.bmp"));
        FAIL() << "no error";
    } catch (const EAssetError& e) {
        EXPECT_STREQ(e.what(), "Resource ':/assets/tiles/nothing.bmp' not found");
    }
    EXPECT_THROW(LoadResource(QStringLiteral(":/assets/waves/nothing.wav")), EAssetError);
}

TEST(AssetLoading, ReadsA24BitBitmapAndRejectsOtherBytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = dir.filePath(QStringLiteral("tile.bmp"));
    ASSERT_TRUE(KeyedPicture(qRgb(199, 228, 255), qRgb(1, 2, 3)).save(good, "BMP"));
    const auto picture = LoadPicture(good);
    EXPECT_EQ(picture->Width(), 4);
    EXPECT_EQ(picture->Height(), 2);
    auto& data = static_cast<TQtPictureData&>(*picture);
    EXPECT_EQ(qAlpha(data.Keyed(kTileKey).pixel(0, 0)), 0);
    EXPECT_EQ(data.Keyed(kTileKey).pixel(1, 0), qRgb(1, 2, 3));

    const QString bad = dir.filePath(QStringLiteral("bad.bmp"));
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    EXPECT_THROW(LoadPicture(bad), EAssetError);
}

TEST(AssetLoading, CatalogLoadsInOrderWithNamesAndKeys) {
    if (!QFile::exists(TilePicturePath(1))) {
        GTEST_SKIP() << "the assets are not built into this binary";
    }
    TPictureCollection tiles;
    LoadTilePictures(tiles);
    ASSERT_EQ(tiles.Count(), 100);
    EXPECT_EQ(tiles.Items(7).Name, "8");
    EXPECT_EQ(tiles.Items(99).Name, "100");
    EXPECT_TRUE(tiles.Items(0).Transparent);
    EXPECT_EQ(tiles.Items(0).TransparentColor, 16770247u);
    EXPECT_EQ(tiles.Items(0).Width(), 50);
    EXPECT_EQ(tiles.Items(0).Height(), 38);

    TPictureCollection screens;
    LoadScreenPictures(screens);
    ASSERT_EQ(screens.Count(), 3);
    EXPECT_EQ(screens.Items(0).Name, "back");
    EXPECT_EQ(screens.Items(1).Name, "gameover");
    EXPECT_EQ(screens.Items(2).Name, "logo");
    EXPECT_TRUE(screens.Find("back").Transparent);
    EXPECT_FALSE(screens.Find("logo").Transparent);
    EXPECT_EQ(screens.Find("logo").Width(), 400);

    TPictureCollection backs;
    LoadTileBacks(backs);
    ASSERT_EQ(backs.Count(), 10);
    EXPECT_EQ(backs.Items(0).Name, "back1");
    EXPECT_EQ(backs.Items(9).Name, "back10");
    EXPECT_EQ(backs.Items(9).TransparentColor, 0u);
    EXPECT_EQ(backs.Items(9).Width(), 57);

    TWaveCollection waves;
    LoadWaves(waves);
    ASSERT_EQ(waves.Count(), 9);
    EXPECT_EQ(waves.Items(4).Name, "Pagemove");
    EXPECT_EQ(&waves.Find("ALERT"), &waves.Items(0));
    const auto* wave = dynamic_cast<const TWaveFileData*>(waves.Items(0).Wave.get());
    ASSERT_NE(wave, nullptr);
    EXPECT_TRUE(wave->Bytes.startsWith("RIFF"));
}

} // namespace
} // namespace pelmoravan
