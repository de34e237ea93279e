// SPDX-License-Identifier: MIT
// The surface's fast paths against the plain painter: image copies from prepared pixels must land
// exactly where and as the painter draws them, and what the surface records as written must
// cover every pixel an operation changes, or the window would keep stale pixels.
#include <QApplication>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/collection.h"
#include "desktop/media/dxdraw.h"
#include "desktop/shown_draw.h"
#include "media/frame_record.h"
#include "desktop/media/picture_data.h"
#include "desktop/media/qt_surface.h"
#include "media/wave_offset.h"

namespace pelmoravan {
namespace {

constexpr QRgb kKey = 0xFFC7E4FF; // red 199, green 228, blue 255
constexpr TColor kKeyValue = 16770247;

struct TRandomSource {
    std::uint32_t Seed;
    int Below(int n) {
        Seed = Seed * 1103515245u + 12345u;
        return static_cast<int>((Seed >> 8) % static_cast<std::uint32_t>(n));
    }
    int Between(int low, int high) { return low + Below(high - low + 1); }
};

// A 24-bit picture on the key colour with a few coloured blocks, a near-key pixel and a key
// pixel inside a block, so that runs start and stop all over each row.
QImage Blotched(int w, int h, TRandomSource& random) {
    QImage image(w, h, QImage::Format_RGB888);
    image.fill(kKey);
    for (int k = 0; k < 6; ++k) {
        const QRect block(random.Below(w), random.Below(h), 1 + random.Below(w), 1 + random.Below(h));
        const QRgb colour = qRgb(random.Below(256), random.Below(256), random.Below(200));
        for (int y = block.top(); y <= std::min(block.bottom(), h - 1); ++y) {
            for (int x = block.left(); x <= std::min(block.right(), w - 1); ++x) {
                image.setPixel(x, y, colour);
            }
        }
    }
    image.setPixel(random.Below(w), random.Below(h), qRgb(199, 228, 254));
    image.setPixel(random.Below(w), random.Below(h), kKey);
    return image;
}

// Empty when the two images are equal, else where and how they first differ.
std::string Difference(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size() || actual.format() != expected.format()) {
        return "size or format";
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + ": " +
                       std::to_string(actual.pixel(x, y)) + " instead of " +
                       std::to_string(expected.pixel(x, y));
            }
        }
    }
    return {};
}

// What the window holds when it was sent only what each flip asked to repaint.
struct TWindowMirror {
    QImage Pixels;
    explicit TWindowMirror(TDXDraw& draw) : Pixels(draw.Image().copy()) {}
    void Follow(const testing::TShownDraw& shown) {
        const QImage& frame = shown.Draw.Image();
        QPainter painter(&Pixels);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& area : shown.Last) {
            painter.drawImage(area.topLeft(), frame, area);
        }
    }
};

TPictureCollectionItem Item(const QImage& image, bool transparent) {
    TPictureCollectionItem item;
    item.Name = "picture";
    item.Picture = std::make_shared<TQtPictureData>(image);
    item.Transparent = transparent;
    item.TransparentColor = kKeyValue;
    return item;
}

// What the plain painter makes of the same draw on the same pixels.
QImage PaintedByQPainter(const QImage& under, const TPictureCollectionItem& item, const QRect& to,
                         std::int32_t pattern, bool stretch) {
    QImage out = under.copy();
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect from = *PatternQRect(item, pattern);
    if (stretch) {
        painter.drawImage(to, *SourceImage(item), from);
    } else {
        painter.drawImage(to.topLeft(), *SourceImage(item), from);
    }
    return out;
}

// A surface whose pixels are all different, so that a copy to the wrong place shows.
void Speckle(TQtSurface& surface, TRandomSource& random) {
    for (int k = 0; k < 40; ++k) {
        surface.SetBrushColor(static_cast<TColor>(random.Below(1 << 24)));
        const int l = random.Below(surface.Width());
        const int t = random.Below(surface.Height());
        surface.FillRect({l, t, l + 1 + random.Below(60), t + 1 + random.Below(40)});
    }
    surface.Release();
}

TEST(SurfaceFastPath, CopiesMatchThePainterForEveryScaleKeyAndClip) {
    // The game's sizes (tiles 50 x 38 into 50 x 37 and 37 x 28, backs 57 x 45 as they are and
    // into 42 x 33) and some others, keyed and opaque, anywhere on and across the edges.
    struct TCase {
        QSize Picture;
        QSize Drawn;
    };
    const TCase cases[] = {{{50, 38}, {50, 37}}, {{50, 38}, {37, 28}}, {{57, 45}, {57, 45}},
                           {{57, 45}, {42, 33}}, {{4, 3}, {11, 7}},   {{20, 10}, {20, 10}},
                           {{31, 17}, {90, 5}},  {{200, 150}, {300, 225}}};
    TRandomSource random{2024};
    TQtSurface surface(QSize(160, 120));
    int compared = 0;
    for (const TCase& c : cases) {
        for (int round = 0; round < 12; ++round) {
            const bool keyed = round % 3 != 2;
            const TPictureCollectionItem item = Item(Blotched(c.Picture.width(), c.Picture.height(), random), keyed);
            Speckle(surface, random);
            const QImage before = surface.Image().copy();
            const QRect to(random.Between(-c.Drawn.width(), 160), random.Between(-c.Drawn.height(), 120),
                           c.Drawn.width(), c.Drawn.height());
            const bool stretch = c.Drawn != c.Picture || round % 2 == 0;
            if (stretch) {
                surface.StretchDraw(item, {to.left(), to.top(), to.right() + 1, to.bottom() + 1}, 0);
            } else {
                surface.Draw(item, to.left(), to.top(), 0);
            }
            surface.Release();
            const QImage expected = PaintedByQPainter(before, item, to, 0, stretch);
            ASSERT_EQ(Difference(surface.Image(), expected), "")
                << c.Picture.width() << "x" << c.Picture.height() << " into " << c.Drawn.width() << "x"
                << c.Drawn.height() << " at " << to.left() << "," << to.top() << (keyed ? " keyed" : " opaque");
            ++compared;
        }
    }
    EXPECT_EQ(compared, 96);
}

TEST(SurfaceFastPath, PatternsAndRepeatedSizesKeepTheirOwnPixels) {
    // A 2 x 2 grid of patterns drawn in turn at two sizes: a prepared copy kept for one pattern or
    // size must never serve another.
    TRandomSource random{77};
    TPictureCollectionItem item = Item(Blotched(40, 30, random), true);
    item.PatternWidth = 20;
    item.PatternHeight = 15;
    TQtSurface surface(QSize(100, 80));
    for (int round = 0; round < 24; ++round) {
        const int pattern = round % 4;
        const QRect to(random.Between(-10, 90), random.Between(-10, 70), round % 8 < 4 ? 20 : 31,
                       round % 8 < 4 ? 15 : 9);
        Speckle(surface, random);
        const QImage before = surface.Image().copy();
        surface.StretchDraw(item, {to.left(), to.top(), to.right() + 1, to.bottom() + 1}, pattern);
        surface.Release();
        ASSERT_EQ(Difference(surface.Image(), PaintedByQPainter(before, item, to, pattern, true)), "")
            << "pattern " << pattern << " round " << round;
    }
}

TEST(SurfaceFastPath, AHugeStretchIsDrawnWithoutKeepingItsPixels) {
    // A rectangle far larger than the surface: drawn clipped, and as the painter would.
    TRandomSource random{5};
    const TPictureCollectionItem item = Item(Blotched(8, 8, random), true);
    TQtSurface surface(QSize(64, 48));
    Speckle(surface, random);
    const QImage before = surface.Image().copy();
    const QRect to(-3000, -2000, 6000, 5000);
    surface.StretchDraw(item, {to.left(), to.top(), to.right() + 1, to.bottom() + 1}, 0);
    surface.Release();
    EXPECT_EQ(Difference(surface.Image(), PaintedByQPainter(before, item, to, 0, true)), "");
}

// The wave draw worked out pixel by pixel from its definition.
QImage WavedByDefinition(const QImage& under, const QImage& picture, bool keyed, int x, int y, int w,
                         int h, int amplitude, int wavelength, int phase) {
    QImage out = under.copy();
    const std::int64_t columnStep = ScaleStep(picture.width(), w);
    const std::int64_t rowStep = ScaleStep(picture.height(), h);
    for (int i = 0; i < h; ++i) {
        const std::int64_t dy = std::int64_t{y} + i;
        if (dy < 0 || dy >= out.height()) {
            continue;
        }
        const int shift = WaveShift(WaveK(i, wavelength, phase), amplitude);
        for (int j = 0; j < w; ++j) {
            const std::int64_t dx = std::int64_t{x} + shift + j;
            if (dx < 0 || dx >= out.width()) {
                continue;
            }
            const QRgb pixel = picture.pixel(ScaledIndex(j, columnStep), ScaledIndex(i, rowStep));
            if (!keyed || (pixel & 0x00FFFFFFu) != (kKey & 0x00FFFFFFu)) {
                out.setPixel(static_cast<int>(dx), static_cast<int>(dy), pixel);
            }
        }
    }
    return out;
}

TEST(SurfaceFastPath, WaveDrawsMatchTheirDefinitionAtAnySizeAndPlace) {
    TRandomSource random{4711};
    TQtSurface surface(QSize(150, 110));
    for (int round = 0; round < 60; ++round) {
        const bool keyed = round / 2 % 2 == 0;
        const QImage picture = Blotched(random.Between(1, 60), random.Between(1, 50), random);
        const TPictureCollectionItem item = Item(picture, keyed);
        // The last rounds draw beyond the size whose pixels are kept, the rest within it.
        const bool huge = round >= 52;
        const int w = huge ? 1500 : random.Between(1, 120);
        const int h = huge ? 900 : random.Between(1, 100);
        const int x = huge && round % 2 == 0 ? random.Between(-1400, 100) : random.Between(-w / 10, 150);
        const int y = huge ? random.Between(-850, 100) : random.Between(-h, 110);
        const int amplitude = random.Below(12);
        const int wavelength = random.Below(400);
        const int phase = random.Below(3) == 0 ? 2147483000 + random.Below(600) : random.Below(5000);
        Speckle(surface, random);
        const QImage before = surface.Image().copy();
        surface.WaveDraw(item, x, y, w, h, 0, amplitude, wavelength, phase);
        ASSERT_EQ(Difference(surface.Image(),
                             WavedByDefinition(before, picture.convertToFormat(QImage::Format_RGB32),
                                               keyed, x, y, w, h, amplitude, wavelength, phase)),
                  "")
            << "round " << round << ": " << w << "x" << h << " at " << x << "," << y;
    }
}

// Text as the plain painter writes it: the box first while the brush is solid, then the glyphs.
QImage WrittenByQPainter(const QImage& under, int points, QRgb font, QRgb brush, bool solid, int x, int y,
                         const QString& text) {
    QImage out = under.copy();
    QFont face(QString::fromLatin1(kCanvasFontFamily));
    face.setPointSize(points);
    const QFontMetrics metrics(face, &out);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    if (solid) {
        painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()).intersected(out.rect()),
                         QColor(brush));
    }
    painter.setFont(face);
    painter.setPen(QColor(font));
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
    return out;
}

TEST(SurfaceFastPath, TextsMatchThePainterWhetherKeptOrNew) {
    // The game's texts and some with overhanging glyphs, each written several times (the later
    // times from what was kept) in changing colours, brushes and sizes, across the edges.
    const char* texts[] = {"时间剩余 : 437", "剩余提示(F4) : 10 次", "Scores : 1250", "第二关", "jfy_/W|",
                           "Add Time", ""};
    TRandomSource random{8};
    TQtSurface surface(QSize(220, 90));
    QRgb colours[] = {qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(255, 255, 0), qRgb(0, 0, 0), qRgb(12, 200, 99)};
    int compared = 0;
    for (int round = 0; round < 140; ++round) {
        const char* text = texts[random.Below(7)];
        const int points = round % 20 < 15 ? 9 + 3 * random.Below(2) : random.Between(6, 30);
        const QRgb font = colours[random.Below(5)];
        const QRgb brush = colours[random.Below(5)];
        const bool solid = random.Below(5) != 0;
        const int x = random.Between(-40, 210);
        const int y = random.Between(-20, 85);
        Speckle(surface, random);
        const QImage before = surface.Image().copy();
        surface.SetFontSize(points);
        surface.SetFontColor(static_cast<TColor>(qRed(font) | qGreen(font) << 8 | qBlue(font) << 16));
        surface.SetBrushColor(static_cast<TColor>(qRed(brush) | qGreen(brush) << 8 | qBlue(brush) << 16));
        if (!solid) {
            surface.SetBrushStyle(TBrushStyle::bsClear);
        }
        surface.TextOut(x, y, text);
        surface.Release();
        ASSERT_EQ(Difference(surface.Image(), WrittenByQPainter(before, points, font, brush, solid, x, y,
                                                                QString::fromUtf8(text))),
                  "")
            << "round " << round << " \"" << text << "\" " << points << "pt at " << x << "," << y;
        ++compared;
    }
    EXPECT_EQ(compared, 140);
}

// One random operation of every kind the game uses, also half off the surface.
void RandomOperation(TCanvas& surface, const TPictureCollectionItem& tile,
                     const TPictureCollectionItem& logo, TRandomSource& random) {
    const int w = surface.Width();
    const int h = surface.Height();
    const int x = random.Between(-40, w);
    const int y = random.Between(-40, h);
    switch (random.Below(9)) {
    case 0:
        surface.Fill(random.Below(4) == 0 ? 0x102030u : 0u);
        break;
    case 1:
        surface.Draw(tile, x, y, 0);
        break;
    case 2:
        surface.StretchDraw(tile, {x, y, x + 1 + random.Below(70), y + 1 + random.Below(50)}, 0);
        break;
    case 3:
        surface.WaveDraw(logo, x, y, 1 + random.Below(90), 1 + random.Below(70), 0, random.Below(9),
                         random.Below(300), random.Below(1000));
        break;
    case 4:
        surface.SetBrushColor(static_cast<TColor>(random.Below(1 << 24)));
        surface.FillRect({x, y, x + random.Below(50), y + random.Below(30)});
        break;
    case 5:
    case 6: {
        if (random.Below(2) == 0) {
            surface.SetBrushStyle(TBrushStyle::bsClear);
        } else {
            surface.SetBrushColor(static_cast<TColor>(random.Below(1 << 24)));
        }
        surface.SetFontColor(static_cast<TColor>(random.Below(1 << 24)));
        surface.SetFontSize(6 + random.Below(30));
        const char* texts[] = {"Scores : 1250", "时间剩余 : 437", "jgqpy/|\\_", "第十关", "W"};
        surface.TextOut(x, y, texts[random.Below(5)]);
        break;
    }
    case 7: {
        surface.SetPenColor(static_cast<TColor>(random.Below(1 << 24)));
        surface.SetPenWidth(random.Below(6));
        std::vector<TPoint> points;
        for (int k = random.Between(1, 4); k > 0; --k) {
            points.push_back({random.Between(-20, w + 20), random.Between(-20, h + 20)});
        }
        surface.Polyline(points);
        break;
    }
    default:
        surface.Release();
        break;
    }
}

bool Covered(const std::vector<QRect>& rects, int x, int y) {
    for (const QRect& r : rects) {
        if (r.contains(x, y)) {
            return true;
        }
    }
    return false;
}

// The house's changed-area tracker, over these pixels: what a frame changed is always sent.
TEST(SurfaceDamage, WhatIsSentAsChangedCoversEveryChangedPixel) {
    TRandomSource random{99};
    const TPictureCollectionItem tile = Item(Blotched(50, 38, random), true);
    const TPictureCollectionItem logo = Item(Blotched(60, 40, random), false);
    TQtPixels pixels(QSize(300, 200));
    TFrameRecord record(pixels, true);
    TCanvas surface(record);
    for (int step = 0; step < 400; ++step) {
        const QImage before = pixels.Image().copy();
        RandomOperation(surface, tile, logo, random);
        record.EndFrame();
        const std::vector<TRect> changed = record.TakeChanged();
        std::vector<QRect> written;
        for (const TRect& r : changed) {
            written.emplace_back(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        }
        const QImage& after = pixels.Image();
        for (int y = 0; y < after.height(); ++y) {
            const auto* a = reinterpret_cast<const QRgb*>(before.constScanLine(y));
            const auto* b = reinterpret_cast<const QRgb*>(after.constScanLine(y));
            for (int x = 0; x < after.width(); ++x) {
                if (a[x] != b[x]) {
                    ASSERT_TRUE(Covered(written, x, y)) << "step " << step << " pixel " << x << "," << y;
                }
            }
        }
    }
}

TEST(SurfaceDamage, AFillOfTheSameColourClearsEverythingDrawnSinceTheLast) {
    TRandomSource random{31};
    const TPictureCollectionItem tile = Item(Blotched(50, 38, random), true);
    const TPictureCollectionItem logo = Item(Blotched(60, 40, random), false);
    TQtSurface surface(QSize(257, 131));
    for (int frame = 0; frame < 30; ++frame) {
        const std::uint32_t value = frame % 7 == 3 ? 0x00FF8000u : 0u;
        surface.Fill(value);
        surface.Release();
        QImage expected(surface.Image().size(), surface.Image().format());
        expected.fill(0xFF000000u | value);
        ASSERT_EQ(Difference(surface.Image(), expected), "") << "frame " << frame;
        for (int k = random.Below(12); k > 0; --k) {
            RandomOperation(surface, tile, logo, random);
        }
        surface.Release();
    }
}

// A frame of the game's kind: a fill, tiles, a text on a box and a mark.
void DrawFrame(ISurface& surface, const TPictureCollectionItem& tile, int tiles, const std::string& text) {
    surface.Fill(0);
    for (int k = 0; k < tiles; ++k) {
        surface.StretchDraw(tile, {10 + 50 * k, 60, 60 + 50 * k, 97}, 0);
    }
    ICanvas& canvas = surface.Canvas();
    canvas.SetBrushColor(0);
    canvas.SetFontColor(16777215);
    canvas.SetFontSize(9);
    canvas.TextOut(10, 10, text);
    canvas.SetPenWidth(3);
    canvas.SetPenColor(255);
    canvas.Polyline({{13, 63}, {13, 95}, {58, 95}});
    canvas.Release();
}

TEST(SurfaceDamage, TheWindowShowsEveryFrameAndRepaintsOnlyWhatChanged) {
    TRandomSource random{3};
    const TPictureCollectionItem tile = Item(Blotched(50, 38, random), true);
    TDXDraw draw;
    draw.resize(400, 150);
    draw.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&draw));
    testing::TShownDraw shown(draw);
    TWindowMirror window(draw);
    DrawFrame(shown.Surface(), tile, 5, "Time : 120");
    shown.Flip();
    window.Follow(shown);
    // The same frame again: every pixel was written and none changed.
    DrawFrame(shown.Surface(), tile, 5, "Time : 120");
    shown.Flip();
    EXPECT_TRUE(shown.Last.isEmpty());
    // A tile gone: only its place reaches the window.
    DrawFrame(shown.Surface(), tile, 4, "Time : 120");
    shown.Flip();
    window.Follow(shown);
    EXPECT_EQ(Difference(window.Pixels, draw.Image()), "");
    // The blocks of 64 x 32 under the tile's place.
    EXPECT_TRUE(QRect(192, 32, 128, 96).contains(shown.Last.boundingRect()));
    EXPECT_FALSE(shown.Last.isEmpty());
    // Random frames: the window always ends up with the surface's pixels.
    for (int frame = 0; frame < 40; ++frame) {
        DrawFrame(shown.Surface(), tile, random.Below(8), "Time : " + std::to_string(random.Below(3)));
        shown.Flip();
        window.Follow(shown);
        ASSERT_EQ(Difference(window.Pixels, draw.Image()), "") << "frame " << frame;
    }
    QCoreApplication::processEvents();
    const QImage onScreen = draw.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(Difference(onScreen, window.Pixels), "");
}

} // namespace
} // namespace pelmoravan

namespace pelmoravan {
namespace {

// Everything one frame draws, each part open to a change of one setting.
struct TFrameScript {
    std::uint32_t FillValue = 0;
    std::array<std::shared_ptr<TQtPictureData>, 2> Pictures;
    bool Transparent = true;
    TColor Key = kKeyValue;
    int PatternWidth = 0;
    int Pattern = 0;
    TRect Tile{20, 30, 70, 67};
    int Phase = 0;
    TColor Brush = 0;
    TColor FontColour = 16777215;
    int Points = 9;
    bool SolidText = true;
    std::string Text = "Time : 120";
    TColor Pen = 255;
    int PenWidth = 3;
    TPoint Corner{90, 20};
};

void Play(ISurface& surface, const TFrameScript& f) {
    surface.Fill(f.FillValue);
    for (std::size_t k = 0; k < f.Pictures.size(); ++k) {
        TPictureCollectionItem item;
        item.Picture = f.Pictures[k];
        item.Transparent = f.Transparent;
        item.TransparentColor = f.Key;
        item.PatternWidth = f.PatternWidth;
        const int dx = static_cast<int>(k) * 60;
        surface.StretchDraw(item, {f.Tile.Left + dx, f.Tile.Top, f.Tile.Right + dx, f.Tile.Bottom}, f.Pattern);
        surface.WaveDraw(item, 150 + dx, 60, 40, 30, f.Pattern, 3, 200, f.Phase);
        surface.Draw(item, 10 + dx, 100, f.Pattern);
    }
    ICanvas& canvas = surface.Canvas();
    canvas.SetBrushColor(f.Brush);
    canvas.FillRect({200, 5, 230, 15});
    if (!f.SolidText) {
        canvas.SetBrushStyle(TBrushStyle::bsClear);
    }
    canvas.SetFontColor(f.FontColour);
    canvas.SetFontSize(f.Points);
    canvas.TextOut(5, 5, f.Text);
    canvas.SetPenColor(f.Pen);
    canvas.SetPenWidth(f.PenWidth);
    canvas.Polyline({{60, 90}, f.Corner, {120, 20}});
    canvas.Release();
}

TEST(SurfaceDamage, AFrameDrawnAgainIsNotComparedButAnyChangeOfItIsShown) {
    TRandomSource random{1234};
    TDXDraw draw;
    draw.resize(260, 140);
    draw.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&draw));
    testing::TShownDraw shown(draw);
    TFrameScript f;
    auto picture = [&random] { return std::make_shared<TQtPictureData>(Blotched(40, 30, random)); };
    f.Pictures = {picture(), picture()};
    TWindowMirror window(draw);
    Play(shown.Surface(), f);
    shown.Flip();
    window.Follow(shown);
    int changes = 0;
    for (int frame = 0; frame < 300; ++frame) {
        // Half the frames repeat the last; the others change one thing, often back and forth.
        const bool change = random.Below(2) == 0;
        if (change) {
            ++changes;
            switch (random.Below(16)) {
            case 0: f.FillValue ^= 0x010000u; break;
            case 1: f.Pictures[random.Below(2)] = picture(); break;
            case 2: f.Pictures[random.Below(2)].reset(); f.Pictures[0] = picture(); break;
            case 3: f.Transparent = !f.Transparent; break;
            case 4: f.Key = f.Key == kKeyValue ? 0 : kKeyValue; break;
            case 5: f.PatternWidth = f.PatternWidth == 0 ? 20 : 0; break;
            case 6: f.Pattern = f.PatternWidth == 0 ? 0 : 1 - f.Pattern; break;
            case 7: f.Tile.Left += random.Between(-1, 1); f.Tile.Bottom += random.Between(-1, 1); break;
            case 8: f.Phase += 10; break;
            case 9: f.Brush ^= 0x000080u; break;
            case 10: f.FontColour ^= 0x800000u; break;
            case 11: f.Points = f.Points == 9 ? 12 : 9; break;
            case 12: f.SolidText = !f.SolidText; break;
            case 13: f.Text = "Time : " + std::to_string(random.Below(3)); break;
            case 14: f.Pen ^= 0x00FF00u; f.PenWidth = random.Between(1, 3); break;
            default: f.Corner.X += random.Between(-1, 1); break;
            }
        }
        Play(shown.Surface(), f);
        shown.Flip();
        window.Follow(shown);
        ASSERT_EQ(Difference(window.Pixels, draw.Image()), "") << "frame " << frame;
        if (!change) {
            EXPECT_TRUE(shown.Last.isEmpty()) << "frame " << frame;
        }
    }
    EXPECT_GT(changes, 100);
}

} // namespace
} // namespace pelmoravan
