// SPDX-License-Identifier: MIT
#include "tiles.h"

#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace assetgen {
namespace {

constexpr const char* kEmojiFontFile = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf";
// The font's colour bitmaps are made for this size; drawing at it keeps Qt from scaling them,
// and the reduction to tile size is done here with an area average.
constexpr int kNativePixelSize = 109;
// Largest glyph box inside the 50 x 38 tile; with its outline rim the glyph keeps a pixel of
// margin on every side.
constexpr int kFitWidth = 46;
constexpr int kFitHeight = 34;
// Resampled pixels at least this opaque belong to the glyph; the rest is background.
constexpr float kSolidAlpha = 0.5f;
// Brightness of the outline rim, in percent of the glyph colour beside it.
constexpr int kRimShade = 45;

// Chosen for outlines that differ at 50 x 38 pixels: animals, plants, food, things and vehicles
// of different silhouettes, and few round shapes.
constexpr std::array<TileGlyph, 100> kGlyphs{{
    {U'\U0001F40E', "horse"},
    {U'\U0001F418', "elephant"},
    {U'\U0001F992', "giraffe"},
    {U'\U0001F42A', "camel"},
    {U'\U0001F407', "rabbit"},
    {U'\U0001F408', "cat"},
    {U'\U0001F415', "dog"},
    {U'\U0001F416', "pig"},
    {U'\U0001F404', "cow"},
    {U'\U0001F411', "ewe"},
    {U'\U0001F998', "kangaroo"},
    {U'\U0001F994', "hedgehog"},
    {U'\U0001F987', "bat"},
    {U'\U0001F413', "rooster"},
    {U'\U0001F986', "duck"},
    {U'\U0001F989', "owl"},
    {U'\U0001F9A9', "flamingo"},
    {U'\U0001F427', "penguin"},
    {U'\U0001F422', "turtle"},
    {U'\U0001F40D', "snake"},
    {U'\U0001F40A', "crocodile"},
    {U'\U0001F995', "sauropod"},
    {U'\U0001F433', "spouting whale"},
    {U'\U0001F41F', "fish"},
    {U'\U0001F419', "octopus"},
    {U'\U0001F980', "crab"},
    {U'\U0001F40C', "snail"},
    {U'\U0001F98B', "butterfly"},
    {U'\U0001F41D', "honeybee"},
    {U'\U0001F41E', "lady beetle"},
    {U'\U0001F982', "scorpion"},
    {U'\U0001F99C', "parrot"},
    {U'\U000026C4', "snowman"},
    {U'\U0001F335', "cactus"},
    {U'\U0001F334', "palm tree"},
    {U'\U0001F332', "evergreen tree"},
    {U'\U0001F337', "tulip"},
    {U'\U0001F33B', "sunflower"},
    {U'\U0001F340', "four leaf clover"},
    {U'\U0001F341', "maple leaf"},
    {U'\U0001F344', "mushroom"},
    {U'\U0001F34E', "red apple"},
    {U'\U0001F34C', "banana"},
    {U'\U0001F347', "grapes"},
    {U'\U0001F349', "watermelon"},
    {U'\U0001F34D', "pineapple"},
    {U'\U0001F352', "cherries"},
    {U'\U0001F955', "carrot"},
    {U'\U0001F33D', "ear of corn"},
    {U'\U0001F346', "eggplant"},
    {U'\U0001F950', "croissant"},
    {U'\U0001F9C0', "cheese wedge"},
    {U'\U0001F354', "hamburger"},
    {U'\U0001F355', "pizza"},
    {U'\U0001F357', "poultry leg"},
    {U'\U0001F369', "doughnut"},
    {U'\U0001F382', "birthday cake"},
    {U'\U0001F366', "soft ice cream"},
    {U'\U0001F36D', "lollipop"},
    {U'\U0001F36C', "candy"},
    {U'\U0001F37C', "baby bottle"},
    {U'\U0001F378', "cocktail glass"},
    {U'\U00002615', "hot beverage"},
    {U'\U0001F697', "automobile"},
    {U'\U0001F6B2', "bicycle"},
    {U'\U0001F680', "rocket"},
    {U'\U0001F681', "helicopter"},
    {U'\U000026F5', "sailboat"},
    {U'\U0001F682', "locomotive"},
    {U'\U0001F69C', "tractor"},
    {U'\U0001F6F4', "kick scooter"},
    {U'\U0001F3E0', "house"},
    {U'\U000026FA', "tent"},
    {U'\U0001F5FC', "Tokyo tower"},
    {U'\U0001F388', "balloon"},
    {U'\U0001F381', "gift"},
    {U'\U0001F3B8', "guitar"},
    {U'\U0001F3BA', "trumpet"},
    {U'\U0001F941', "drum"},
    {U'\U0001F514', "bell"},
    {U'\U0001F511', "key"},
    {U'\U0001F512', "lock"},
    {U'\U0001F528', "hammer"},
    {U'\U00002693', "anchor"},
    {U'\U0001F4A1', "light bulb"},
    {U'\U000023F0', "alarm clock"},
    {U'\U0000231B', "hourglass"},
    {U'\U0001F4CE', "paperclip"},
    {U'\U0001F48E', "gem stone"},
    {U'\U0001F451', "crown"},
    {U'\U0001F3A9', "top hat"},
    {U'\U0001F453', "glasses"},
    {U'\U0001F45F', "running shoe"},
    {U'\U0001F455', "t-shirt"},
    {U'\U00002614', "umbrella with rain"},
    {U'\U0001F3F8', "badminton"},
    {U'\U0001F3C6', "trophy"},
    {U'\U0001FA81', "kite"},
    {U'\U0001F9E9', "puzzle piece"},
    {U'\U000026A1', "high voltage"},
}};

QString Utf16(char32_t code) {
    return QString::fromUcs4(&code, 1);
}

}  // namespace

const TileGlyph* TileGlyphs() {
    return kGlyphs.data();
}

QFont TileFont() {
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(kEmojiFontFile));
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (id < 0 || families.isEmpty()) {
        throw std::runtime_error(std::string("cannot load ") + kEmojiFontFile +
                                 " (Debian package fonts-noto-color-emoji)");
    }
    QFont font(families.front());
    font.setPixelSize(kNativePixelSize);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

Picture RenderTile(const QFont& font, char32_t code) {
    constexpr int kCanvas = 256;
    QImage glyph(kCanvas, kCanvas, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    {
        QPainter painter(&glyph);
        painter.setFont(font);
        painter.drawText(QPointF(48, 192), Utf16(code));
    }
    const Layer big = LayerFromImage(glyph);
    const Box bounds = AlphaBounds(big, 0.0f);
    if (bounds.w == 0) {
        throw std::runtime_error("the emoji font has no picture for U+" + QString::number(code, 16).toStdString());
    }
    const double scale = std::min(static_cast<double>(kFitWidth) / bounds.w,
                                  static_cast<double>(kFitHeight) / bounds.h);
    const int w = std::max(1, static_cast<int>(std::lround(bounds.w * scale)));
    const int h = std::max(1, static_cast<int>(std::lround(bounds.h * scale)));
    const Layer small = Resample(big, bounds, w, h);

    // The game draws a picture with a colour key, all or nothing per pixel, onto plates of ten
    // colours: a soft edge blended with the key would leave a light-blue fringe on every plate.
    // So a pixel is glyph or background, glyph pixels keep their own (unblended) colour, and a
    // one-pixel rim in a darker shade of the glyph's edge outlines the shape on any plate.
    const int ox = (kTileWidth - w) / 2, oy = (kTileHeight - h) / 2;
    Picture tile(kTileWidth, kTileHeight, kTileKey);
    std::vector<char> solid(static_cast<std::size_t>(kTileWidth * kTileHeight), 0);
    auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < kTileWidth && y < kTileHeight &&
               solid[static_cast<std::size_t>(y * kTileWidth + x)] != 0;
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float* px = small.Px(x, y);
            if (px[3] < kSolidAlpha) {
                continue;
            }
            tile.At(ox + x, oy + y) = {ToByte(px[0] / px[3]), ToByte(px[1] / px[3]), ToByte(px[2] / px[3])};
            solid[static_cast<std::size_t>((oy + y) * kTileWidth + ox + x)] = 1;
        }
    }
    Picture rimmed = tile;
    for (int y = 0; y < kTileHeight; ++y) {
        for (int x = 0; x < kTileWidth; ++x) {
            if (inside(x, y)) {
                continue;
            }
            int sum[3] = {0, 0, 0}, n = 0;
            for (const auto& [dx, dy] : {std::pair{-1, 0}, std::pair{1, 0}, std::pair{0, -1}, std::pair{0, 1}}) {
                if (inside(x + dx, y + dy)) {
                    const Rgb& c = tile.At(x + dx, y + dy);
                    sum[0] += c.r;
                    sum[1] += c.g;
                    sum[2] += c.b;
                    ++n;
                }
            }
            if (n > 0) {
                auto dark = [&](int total) { return static_cast<std::uint8_t>(total * kRimShade / (n * 100)); };
                rimmed.At(x, y) = {dark(sum[0]), dark(sum[1]), dark(sum[2])};
            }
        }
    }
    tile = rimmed;
    // A glyph pixel that happens to be exactly the key colour would turn see-through in the game.
    for (int y = 0; y < kTileHeight; ++y) {
        for (int x = 0; x < kTileWidth; ++x) {
            if (inside(x, y) && tile.At(x, y) == kTileKey) {
                tile.At(x, y).b = 254;
            }
        }
    }
    return tile;
}

void MakeTiles(const std::filesystem::path& assets) {
    const QFont font = TileFont();
    for (int i = 0; i < static_cast<int>(kGlyphs.size()); ++i) {
        WriteBmp(assets / "tiles" / (std::to_string(i + 1) + ".bmp"), RenderTile(font, kGlyphs[static_cast<std::size_t>(i)].code));
    }
}

}  // namespace assetgen
