// SPDX-License-Identifier: MIT
#include "plates.h"

#include "picture.h"
#include "tiles.h"

#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

namespace assetgen {
namespace {

constexpr Rgb kBlack{0, 0, 0};
// The nearest colour to black that a keyed-black picture may use for its own pixels.
constexpr Rgb kNearBlack{8, 8, 10};

// ---- Tile plates -------------------------------------------------------------------------------

constexpr int kBackWidth = 57;
constexpr int kBackHeight = 45;
// The face the picture is drawn on: the top-left 50 x 37 of the plate (the cell pitch). The
// plate's body reaches 7 pixels further right and 8 further down, the depth that makes the
// board look stacked.
constexpr int kFaceWidth = 50;
constexpr int kFaceHeight = 37;
constexpr double kDepthX = 7;
constexpr double kDepthY = 8;
constexpr double kCorner = 4.5;

struct PlateColour {
    Rgb face;
    Rgb body;
};

// Light faces keep every picture readable; the bodies are the same hue, deeper.
constexpr std::array<PlateColour, 10> kPlateColours{{
    {{246, 238, 212}, {196, 150, 92}},   // 1 ivory
    {{210, 242, 210}, {74, 150, 86}},    // 2 mint
    {{200, 220, 244}, {70, 112, 176}},   // 3 sky
    {{250, 212, 222}, {196, 84, 122}},   // 4 rose
    {{226, 214, 248}, {122, 92, 190}},   // 5 lavender
    {{252, 224, 192}, {214, 120, 48}},   // 6 apricot
    {{246, 242, 184}, {176, 160, 40}},   // 7 lemon
    {{196, 238, 234}, {40, 150, 146}},   // 8 aqua
    {{224, 226, 230}, {110, 116, 130}},  // 9 silver
    {{240, 212, 168}, {160, 104, 40}},   // 10 amber
}};

Rgb Mix(Rgb a, Rgb b, double t) {
    auto ch = [t](int x, int y) {
        return static_cast<std::uint8_t>(std::clamp(std::lround(x + (y - x) * t), 0L, 255L));
    };
    return {ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b)};
}

Rgb NotBlack(Rgb c) {
    return c == kBlack ? kNearBlack : c;
}

// Inside the face rectangle with rounded corners, sampled at the pixel centre (cx, cy).
bool InRoundedFace(double cx, double cy) {
    if (cx < 0 || cy < 0 || cx > kFaceWidth || cy > kFaceHeight) {
        return false;
    }
    const double nx = std::clamp(cx, kCorner, kFaceWidth - kCorner);
    const double ny = std::clamp(cy, kCorner, kFaceHeight - kCorner);
    return (cx - nx) * (cx - nx) + (cy - ny) * (cy - ny) <= kCorner * kCorner;
}

// The smallest shift t in [0, 1] along the depth that brings the pixel centre into the face,
// or a negative value when the pixel is outside the plate.
double DepthOf(int x, int y) {
    constexpr int kSteps = 64;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = static_cast<double>(i) / kSteps;
        if (InRoundedFace(x + 0.5 - kDepthX * t, y + 0.5 - kDepthY * t)) {
            return t;
        }
    }
    return -1;
}

Picture RenderBack(const PlateColour& colour) {
    Picture plate(kBackWidth, kBackHeight, kBlack);
    const Rgb outline = Mix(colour.body, kBlack, 0.6);
    const Rgb highlight = Mix(colour.face, Rgb{255, 255, 255}, 0.7);
    const Rgb faceShadow = Mix(colour.face, colour.body, 0.55);
    for (int y = 0; y < kBackHeight; ++y) {
        for (int x = 0; x < kBackWidth; ++x) {
            const double t = DepthOf(x, y);
            if (t < 0) {
                continue;
            }
            Rgb c;
            if (t == 0) {
                // Face: a soft top-left to bottom-right gradient under a two-pixel bevel.
                const double g = (x / static_cast<double>(kFaceWidth) + y / static_cast<double>(kFaceHeight)) / 2;
                c = Mix(colour.face, faceShadow, 0.25 * g);
                const bool nearTop = !InRoundedFace(x + 0.5, y - 1.5) || !InRoundedFace(x - 1.5, y + 0.5);
                const bool nearBottom = !InRoundedFace(x + 0.5, y + 2.5) || !InRoundedFace(x + 2.5, y + 0.5);
                if (nearBottom) {
                    c = faceShadow;
                } else if (nearTop) {
                    c = highlight;
                }
            } else {
                // Body: the right side lit a little more than the bottom, both darkening with depth.
                const double beyondRight = x + 0.5 - kFaceWidth;
                const double beyondBottom = y + 0.5 - kFaceHeight;
                const bool rightSide = beyondRight / kDepthX > beyondBottom / kDepthY;
                const Rgb side = rightSide ? Mix(colour.body, Rgb{255, 255, 255}, 0.15) : colour.body;
                c = Mix(side, outline, 0.45 * t);
            }
            plate.At(x, y) = c;
        }
    }
    // A one-pixel outline wherever the plate meets the key, so plates stay apart on a dark board.
    Picture outlined = plate;
    for (int y = 0; y < kBackHeight; ++y) {
        for (int x = 0; x < kBackWidth; ++x) {
            if (plate.At(x, y) == kBlack) {
                continue;
            }
            bool edge = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    edge = edge || nx < 0 || ny < 0 || nx >= kBackWidth || ny >= kBackHeight ||
                           plate.At(nx, ny) == kBlack;
                }
            }
            outlined.At(x, y) = NotBlack(edge ? outline : plate.At(x, y));
        }
    }
    return outlined;
}

// ---- Screens -----------------------------------------------------------------------------------

QString LoadFamily(const char* file, const char* package) {
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(file));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty()) {
        throw std::runtime_error(std::string("cannot load ") + file + " (Debian package " + package + ")");
    }
    return families.front();
}

QFont LatinFont(int pixelSize) {
    static const QString family = LoadFamily("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                                             "fonts-dejavu-core");
    QFont font(family);
    font.setBold(true);
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QFont ChineseFont(int pixelSize) {
    static const QString family = LoadFamily("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
                                             "fonts-wqy-microhei");
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

// A line of text as an outline, centred on x, its baseline at y.
QPainterPath CentredText(const QFont& font, const QString& text, double x, double baseline) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    path.translate(x - box.center().x(), baseline);
    return path;
}

// The largest size up to maxPixels at which the text is at most maxWidth wide.
QFont Fitted(QFont (*make)(int), const QString& text, int maxPixels, double maxWidth) {
    for (int size = maxPixels; size > 6; --size) {
        QPainterPath path;
        path.addText(0, 0, make(size), text);
        if (path.boundingRect().width() <= maxWidth) {
            return make(size);
        }
    }
    return make(6);
}

void DrawOutlinedText(QPainter& painter, const QPainterPath& path, const QBrush& fill, const QColor& rim,
                      double rimWidth) {
    painter.setPen(QPen(rim, rimWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(path);
}

// The layer laid on black, with no pixel of the drawing left exactly black (black is the key).
Picture OnBlack(const QImage& image) {
    const Layer layer = LayerFromImage(image);
    Picture picture(layer.width, layer.height, kBlack);
    Composite(picture, layer, 0, 0);
    for (int y = 0; y < layer.height; ++y) {
        for (int x = 0; x < layer.width; ++x) {
            if (layer.Px(x, y)[3] >= 0.5f && picture.At(x, y) == kBlack) {
                picture.At(x, y) = kNearBlack;
            }
        }
    }
    return picture;
}

QImage Transparent(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A rounded panel with a bright frame, the base of the two keyed screens.
void DrawPanel(QPainter& p, const QRectF& box, const QColor& top, const QColor& bottom, const QColor& frame) {
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(frame, 4));
    p.setBrush(fill);
    p.drawRoundedRect(box, 18, 18);
    p.setPen(QPen(QColor(255, 255, 255, 70), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(box.adjusted(6, 6, -6, -6), 13, 13);
}

Picture RenderPaused() {
    QImage image = Transparent(200, 150);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawPanel(p, QRectF(4, 4, 192, 142), QColor(44, 88, 168), QColor(18, 36, 92), QColor(250, 214, 92));
    // The pause sign: two upright bars.
    p.setPen(QPen(QColor(20, 30, 70), 2));
    p.setBrush(QColor(250, 214, 92));
    p.drawRoundedRect(QRectF(76, 20, 18, 52), 4, 4);
    p.drawRoundedRect(QRectF(106, 20, 18, 52), 4, 4);
    DrawOutlinedText(p, CentredText(Fitted(LatinFont, QStringLiteral("Paused"), 30, 160), QStringLiteral("Paused"), 100, 108), QColor(255, 255, 255),
                     QColor(16, 24, 60), 4);
    DrawOutlinedText(p, CentredText(ChineseFont(20), QStringLiteral("暂停"), 100, 134), QColor(250, 214, 92),
                     QColor(16, 24, 60), 3);
    p.end();
    return OnBlack(image);
}

Picture RenderGameOver() {
    QImage image = Transparent(200, 150);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    DrawPanel(p, QRectF(4, 4, 192, 142), QColor(170, 40, 40), QColor(72, 10, 24), QColor(255, 236, 200));
    // An hourglass run out: the time limit is what ends a game.
    QPainterPath glass;
    glass.moveTo(86, 16);
    glass.lineTo(114, 16);
    glass.lineTo(102, 38);
    glass.lineTo(114, 60);
    glass.lineTo(86, 60);
    glass.lineTo(98, 38);
    glass.closeSubpath();
    p.setPen(QPen(QColor(255, 236, 200), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawPath(glass);
    QPainterPath sand;
    sand.moveTo(90, 58);
    sand.lineTo(110, 58);
    sand.lineTo(100, 46);
    sand.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 80));
    p.drawPath(sand);
    p.setPen(QPen(QColor(255, 236, 200), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(80, 15), QPointF(120, 15));
    p.drawLine(QPointF(80, 61), QPointF(120, 61));
    DrawOutlinedText(p, CentredText(Fitted(LatinFont, QStringLiteral("Game Over"), 28, 160), QStringLiteral("Game Over"), 100, 100), QColor(255, 255, 255),
                     QColor(60, 6, 14), 4);
    DrawOutlinedText(p, CentredText(ChineseFont(20), QStringLiteral("游戏结束"), 100, 130), QColor(255, 210, 120),
                     QColor(60, 6, 14), 3);
    p.end();
    return OnBlack(image);
}

// A tile as the board shows it: plate, then picture with its key left out.
QImage TileImage(const Picture& back, const Picture& picture) {
    QImage image(kBackWidth, kBackHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 0; y < kBackHeight; ++y) {
        for (int x = 0; x < kBackWidth; ++x) {
            Rgb c = back.At(x, y);
            bool opaque = !(c == kBlack);
            if (x < kTileWidth && y < kFaceHeight) {
                // The game stretches the 38 picture rows onto 37; the logo only needs the look.
                const Rgb q = picture.At(x, y * kTileHeight / kFaceHeight);
                if (!(q == kTileKey)) {
                    c = q;
                    opaque = true;
                }
            }
            if (opaque) {
                image.setPixel(x, y, qRgb(c.r, c.g, c.b));
            }
        }
    }
    return image;
}

Picture RenderLogo() {
    constexpr int kW = 400, kH = 300;
    QImage image(kW, kH, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QRadialGradient sky(QPointF(200, 110), 260);
    sky.setColorAt(0, QColor(58, 78, 160));
    sky.setColorAt(0.6, QColor(30, 34, 92));
    sky.setColorAt(1, QColor(14, 14, 44));
    p.fillRect(QRectF(0, 0, kW, kH), sky);
    // Faint diagonal rays behind the name.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        const double a0 = (i * 30.0) * std::numbers::pi / 180.0, a1 = (i * 30.0 + 12.0) * std::numbers::pi / 180.0;
        QPainterPath ray;
        ray.moveTo(200, 110);
        ray.lineTo(200 + 500 * std::cos(a0), 110 + 500 * std::sin(a0));
        ray.lineTo(200 + 500 * std::cos(a1), 110 + 500 * std::sin(a1));
        ray.closeSubpath();
        p.setBrush(QColor(255, 255, 255, 14));
        p.drawPath(ray);
    }

    // A row of tiles in a gentle arc, each on a different level's plate.
    const QFont emoji = TileFont();
    constexpr std::array<int, 7> kTiles{0, 38, 65, 41, 27, 89, 75};
    for (int i = 0; i < static_cast<int>(kTiles.size()); ++i) {
        const Picture back = RenderBack(kPlateColours[static_cast<std::size_t>(i) % kPlateColours.size()]);
        const Picture pic = RenderTile(emoji, TileGlyphs()[kTiles[static_cast<std::size_t>(i)]].code);
        const QImage tile = TileImage(back, pic);
        // Whole-pixel positions and no rotation: the tiles are copied, never resampled, so
        // that the logo does not depend on how a CPU's vector code rounds an interpolation.
        const int offset = i - 3;
        p.drawImage(QPoint(200 - 28 + offset * 54, 192 + offset * offset * 3), tile);
    }

    // The name, in gold with a dark rim and a soft shadow.
    const QString title = QStringLiteral("Pelmoravan");
    const QPainterPath name = CentredText(Fitted(LatinFont, title, 64, 356), title, 200, 122);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 20, 110));
    p.drawPath(name.translated(4, 5));
    QLinearGradient gold(QPointF(0, 76), QPointF(0, 124));
    gold.setColorAt(0, QColor(255, 248, 196));
    gold.setColorAt(0.5, QColor(255, 206, 72));
    gold.setColorAt(1, QColor(214, 128, 24));
    DrawOutlinedText(p, name, gold, QColor(70, 30, 8), 5);
    // Sheen along the top of the letters.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 60));
    p.setClipPath(name);
    p.drawRect(QRectF(0, 66, kW, 28));
    p.setClipping(false);

    const QString motto = QStringLiteral("find the pairs  \u00b7  link them  \u00b7  clear the board");
    DrawOutlinedText(p, CentredText(Fitted(LatinFont, motto, 15, 350), motto, 200, 156),
                     QColor(210, 226, 255), QColor(14, 14, 44), 3);
    DrawOutlinedText(p, CentredText(ChineseFont(14), QStringLiteral("F2  开始  \u00b7  Start"), 200, 286),
                     QColor(250, 214, 92), QColor(14, 14, 44), 3);
    p.end();

    const Layer layer = LayerFromImage(image);
    Picture logo(kW, kH, kBlack);
    Composite(logo, layer, 0, 0);
    return logo;
}

}  // namespace

void MakeBacks(const std::filesystem::path& assets) {
    for (int level = 1; level <= static_cast<int>(kPlateColours.size()); ++level) {
        WriteBmp(assets / "backs" / ("back" + std::to_string(level) + ".bmp"),
                 RenderBack(kPlateColours[static_cast<std::size_t>(level - 1)]));
    }
}

void MakeScreens(const std::filesystem::path& assets) {
    WriteBmp(assets / "screens" / "back.bmp", RenderPaused());
    WriteBmp(assets / "screens" / "gameover.bmp", RenderGameOver());
    WriteBmp(assets / "screens" / "logo.bmp", RenderLogo());
}

}  // namespace assetgen
