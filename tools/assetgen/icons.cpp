// SPDX-License-Identifier: MIT
#include "icons.h"

#include "output.h"
#include "picture.h"
#include "tiles.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

namespace assetgen {
namespace {

// The sizes a desktop asks for most; larger and smaller ones it scales from these.
constexpr std::array<int, 6> kIconSizes{16, 32, 48, 64, 128, 256};

// The plate's shape in the game's own units (pixels of a tile back), so that the icon's tiles
// are the board's tiles drawn larger: a rounded face of one cell pitch and a body that reaches
// down and to the right.
constexpr double kFaceWidth = 50;
constexpr double kFaceHeight = 37;
constexpr double kDepthX = 7;
constexpr double kDepthY = 8;
constexpr double kCorner = 4.5;
constexpr double kBevel = 2;
constexpr int kDepthSteps = 32;
// The whole plate, face and body.
constexpr double kPlateWidth = kFaceWidth + kDepthX;
constexpr double kPlateHeight = kFaceHeight + kDepthY;
// The picture's box on the face, a little inside the game's own margin so it clears the bevel.
constexpr double kPictureWidth = 44;
constexpr double kPictureHeight = 31;

// The second tile of the pair sits this far below and right of the first, so that the first
// one's picture stays in view above it.
constexpr double kPairDX = 22;
constexpr double kPairDY = 34;
// Share of the icon's width the tiles fill: a little air, as desktop icon sets keep.
constexpr double kFill = 0.94;
// Below this size two tiles are too small to read; one tile fills the icon instead.
constexpr int kPairFromSize = 32;

// The red apple, tile 42: a bold, round shape in one strong colour that stays an apple at 16
// pixels and stands out on the light plate.
constexpr int kPictureTile = 42;

struct Colour {
    float r = 0, g = 0, b = 0;
};

constexpr Colour FromRgb(Rgb c) {
    return {static_cast<float>(c.r) / 255.0f, static_cast<float>(c.g) / 255.0f, static_cast<float>(c.b) / 255.0f};
}

Colour Mix(Colour a, Colour b, double t) {
    const auto ch = [t](float x, float y) { return static_cast<float>(x + (y - x) * t); };
    return {ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b)};
}

// Level 1's plate, ivory, the first the player sees.
constexpr Colour kFace = FromRgb({246, 238, 212});
constexpr Colour kBody = FromRgb({196, 150, 92});
constexpr Colour kWhite{1, 1, 1};
constexpr Colour kBlack{0, 0, 0};

// Signed distance from the face's rounded rectangle, negative inside, in plate units.
double FaceDistance(double u, double v) {
    const double qx = std::abs(u - kFaceWidth / 2) - kFaceWidth / 2 + kCorner;
    const double qy = std::abs(v - kFaceHeight / 2) - kFaceHeight / 2 + kCorner;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - kCorner;
}

// The colour of the plate at (u, v), or false outside it. The outline is `rim` units wide, so a
// small icon can keep it at least near a pixel.
bool PlateAt(double u, double v, double rim, Colour& out) {
    const Colour outline = Mix(kBody, kBlack, 0.6);
    const double face = FaceDistance(u, v);
    double plate = face;
    double depth = face <= 0 ? 0 : -1;
    // Only near an edge or off the face does the body's sweep need tracing.
    if (face > -rim) {
        for (int i = 1; i <= kDepthSteps; ++i) {
            const double t = static_cast<double>(i) / kDepthSteps;
            const double d = FaceDistance(u - kDepthX * t, v - kDepthY * t);
            plate = std::min(plate, d);
            if (depth < 0 && d <= 0) {
                depth = t;
            }
        }
    }
    if (plate > 0) {
        return false;
    }
    if (plate > -rim) {
        out = outline;
    } else if (depth == 0) {
        // Face: a soft gradient under a bevel lit from the top left.
        const Colour shadow = Mix(kFace, kBody, 0.55);
        const double g = (u / kFaceWidth + v / kFaceHeight) / 2;
        out = Mix(kFace, shadow, 0.25 * g);
        if (FaceDistance(u, v + kBevel) > 0 || FaceDistance(u + kBevel, v) > 0) {
            out = shadow;
        } else if (FaceDistance(u, v - kBevel) > 0 || FaceDistance(u - kBevel, v) > 0) {
            out = Mix(kFace, kWhite, 0.7);
        }
    } else {
        const bool rightSide = (u - kFaceWidth) / kDepthX > (v - kFaceHeight) / kDepthY;
        const Colour side = rightSide ? Mix(kBody, kWhite, 0.15) : kBody;
        out = Mix(side, outline, 0.45 * depth);
    }
    return true;
}

// Lays src over dst with its top-left corner at (x, y); both premultiplied.
void Over(Layer& dst, const Layer& src, int x, int y) {
    for (int sy = 0; sy < src.height; ++sy) {
        for (int sx = 0; sx < src.width; ++sx) {
            const int dx = x + sx, dy = y + sy;
            if (dx < 0 || dy < 0 || dx >= dst.width || dy >= dst.height) {
                continue;
            }
            const float* s = src.Px(sx, sy);
            float* d = dst.Px(dx, dy);
            const float keep = 1.0f - s[3];
            for (int c = 0; c < 4; ++c) {
                d[c] = s[c] + keep * d[c];
            }
        }
    }
}

// The picture at the font's own size, cut to its bounds; drawn once for every size.
struct Glyph {
    Layer layer;
    Box bounds;
};

Glyph DrawGlyph() {
    constexpr int kCanvas = 256;
    QImage image(kCanvas, kCanvas, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(TileFont());
        const char32_t code = TileGlyphs()[kPictureTile - 1].code;
        painter.drawText(QPointF(48, 192), QString::fromUcs4(&code, 1));
    }
    Glyph glyph{LayerFromImage(image), {}};
    glyph.bounds = AlphaBounds(glyph.layer, 0.0f);
    if (glyph.bounds.w == 0) {
        throw std::runtime_error("the emoji font has no picture for the icon");
    }
    return glyph;
}

// One tile, plate and picture, with the plate's top-left corner at (x, y) pixels and `scale`
// pixels to a plate unit, into an icon-sized layer.
Layer RenderTileAt(int size, const Glyph& glyph, double x, double y, double scale) {
    Layer tile(size, size);
    // Enough samples per pixel for smooth edges at every size: about 512 across the icon.
    const int samples = std::max(2, 512 / size);
    const double rim = std::max(1.0, 0.8 / scale);
    const double weight = 1.0 / (samples * samples);
    const int x0 = std::max(0, static_cast<int>(std::floor(x)));
    const int y0 = std::max(0, static_cast<int>(std::floor(y)));
    const int x1 = std::min(size, static_cast<int>(std::ceil(x + kPlateWidth * scale)));
    const int y1 = std::min(size, static_cast<int>(std::ceil(y + kPlateHeight * scale)));
    for (int py = y0; py < y1; ++py) {
        for (int px = x0; px < x1; ++px) {
            double acc[4] = {0, 0, 0, 0};
            for (int j = 0; j < samples; ++j) {
                for (int i = 0; i < samples; ++i) {
                    const double u = (px + (i + 0.5) / samples - x) / scale;
                    const double v = (py + (j + 0.5) / samples - y) / scale;
                    Colour c;
                    if (PlateAt(u, v, rim, c)) {
                        acc[0] += c.r;
                        acc[1] += c.g;
                        acc[2] += c.b;
                        acc[3] += 1;
                    }
                }
            }
            float* out = tile.Px(px, py);
            for (int c = 0; c < 4; ++c) {
                out[c] = static_cast<float>(acc[c] * weight);
            }
        }
    }

    const double fit = std::min(kPictureWidth * scale / glyph.bounds.w, kPictureHeight * scale / glyph.bounds.h);
    const int w = std::max(1, static_cast<int>(std::lround(glyph.bounds.w * fit)));
    const int h = std::max(1, static_cast<int>(std::lround(glyph.bounds.h * fit)));
    const Layer picture = Resample(glyph.layer, glyph.bounds, w, h);
    Over(tile, picture, static_cast<int>(std::lround(x + kFaceWidth / 2 * scale - w / 2.0)),
         static_cast<int>(std::lround(y + kFaceHeight / 2 * scale - h / 2.0)));
    return tile;
}

Layer RenderIcon(int size, const Glyph& glyph) {
    Layer icon(size, size);
    if (size < kPairFromSize) {
        const double scale = size * kFill / kPlateWidth;
        Over(icon, RenderTileAt(size, glyph, (size - kPlateWidth * scale) / 2, (size - kPlateHeight * scale) / 2, scale), 0, 0);
        return icon;
    }
    const double width = kPlateWidth + kPairDX;
    const double height = kPlateHeight + kPairDY;
    const double scale = size * kFill / std::max(width, height);
    const double x = (size - width * scale) / 2;
    const double y = (size - height * scale) / 2;
    Over(icon, RenderTileAt(size, glyph, x, y, scale), 0, 0);
    Over(icon, RenderTileAt(size, glyph, x + kPairDX * scale, y + kPairDY * scale, scale), 0, 0);
    return icon;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

void PutChunk(Bytes& out, const char (&type)[5], const Bytes& data) {
    PutBE32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    PutTag(out, type);
    out.insert(out.end(), data.begin(), data.end());
    PutBE32(out, Crc32(out.data() + start, out.size() - start));
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) {
        return a;
    }
    return pb <= pc ? b : c;
}

// PNG, 8-bit RGBA, with no chunks but IHDR, IDAT and IEND: no time stamp, no text, no gamma.
Bytes EncodePng(const Layer& layer) {
    const std::size_t stride = static_cast<std::size_t>(layer.width) * 4;
    std::vector<std::uint8_t> pixels(stride * static_cast<std::size_t>(layer.height));
    for (int y = 0; y < layer.height; ++y) {
        for (int x = 0; x < layer.width; ++x) {
            const float* p = layer.Px(x, y);
            std::uint8_t* o = &pixels[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 4];
            const std::uint8_t alpha = ToByte(p[3]);
            for (int c = 0; c < 3; ++c) {
                o[c] = alpha == 0 ? 0 : ToByte(p[c] / p[3]);
            }
            o[3] = alpha;
        }
    }
    // Each row gets the filter that leaves the smallest residues, the usual rule of thumb for
    // the best compression.
    QByteArray filtered;
    std::vector<std::uint8_t> row(stride), best(stride);
    for (int y = 0; y < layer.height; ++y) {
        const std::uint8_t* cur = &pixels[static_cast<std::size_t>(y) * stride];
        const std::uint8_t* up = y > 0 ? cur - stride : nullptr;
        long bestCost = -1;
        int bestFilter = 0;
        for (int filter = 0; filter < 5; ++filter) {
            long cost = 0;
            for (std::size_t i = 0; i < stride; ++i) {
                const int a = i >= 4 ? cur[i - 4] : 0;
                const int b = up != nullptr ? up[i] : 0;
                const int c = up != nullptr && i >= 4 ? up[i - 4] : 0;
                const int predictors[5] = {0, a, b, (a + b) / 2, Paeth(a, b, c)};
                row[i] = static_cast<std::uint8_t>(cur[i] - predictors[filter]);
                cost += std::abs(static_cast<int>(static_cast<std::int8_t>(row[i])));
            }
            if (bestCost < 0 || cost < bestCost) {
                bestCost = cost;
                bestFilter = filter;
                best = row;
            }
        }
        filtered.append(static_cast<char>(bestFilter));
        filtered.append(reinterpret_cast<const char*>(best.data()), static_cast<qsizetype>(stride));
    }
    // qCompress gives a zlib stream after a four-byte length of its own.
    const QByteArray compressed = qCompress(filtered, 9).mid(4);

    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBE32(header, static_cast<std::uint32_t>(layer.width));
    PutBE32(header, static_cast<std::uint32_t>(layer.height));
    header.push_back(8);  // bits per channel
    header.push_back(6);  // RGBA
    header.push_back(0);  // deflate
    header.push_back(0);  // adaptive filtering
    header.push_back(0);  // no interlace
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", Bytes(compressed.begin(), compressed.end()));
    PutChunk(out, "IEND", {});
    return out;
}

}  // namespace

void MakeIcons(const std::filesystem::path& assets) {
    const Glyph glyph = DrawGlyph();
    for (const int size : kIconSizes) {
        const std::string box = std::to_string(size) + "x" + std::to_string(size);
        WriteFile(assets / "icons" / "hicolor" / box / "apps" / (std::string(kAppId) + ".png"),
                  EncodePng(RenderIcon(size, glyph)));
    }
}

}  // namespace assetgen
