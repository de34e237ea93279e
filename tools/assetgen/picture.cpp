// SPDX-License-Identifier: MIT
#include "picture.h"

#include "output.h"

#include <QImage>
#include <algorithm>
#include <cmath>

namespace assetgen {

Picture::Picture(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), fill) {}

Layer LayerFromImage(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    Layer layer(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            float* px = layer.Px(x, y);
            px[0] = static_cast<float>(qRed(line[x])) / 255.0f;
            px[1] = static_cast<float>(qGreen(line[x])) / 255.0f;
            px[2] = static_cast<float>(qBlue(line[x])) / 255.0f;
            px[3] = static_cast<float>(qAlpha(line[x])) / 255.0f;
        }
    }
    return layer;
}

Box AlphaBounds(const Layer& layer, float threshold) {
    int left = layer.width, top = layer.height, right = -1, bottom = -1;
    for (int y = 0; y < layer.height; ++y) {
        for (int x = 0; x < layer.width; ++x) {
            if (layer.Px(x, y)[3] > threshold) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return {};
    }
    return {left, top, right - left + 1, bottom - top + 1};
}

Layer Resample(const Layer& source, Box from, int width, int height) {
    Layer out(width, height);
    const double sx = static_cast<double>(from.w) / width;
    const double sy = static_cast<double>(from.h) / height;
    for (int ty = 0; ty < height; ++ty) {
        const double y0 = from.y + ty * sy;
        const double y1 = y0 + sy;
        for (int tx = 0; tx < width; ++tx) {
            const double x0 = from.x + tx * sx;
            const double x1 = x0 + sx;
            double acc[4] = {0, 0, 0, 0};
            double area = 0;
            for (int y = static_cast<int>(std::floor(y0)); y < static_cast<int>(std::ceil(y1)); ++y) {
                const double wy = std::min<double>(y + 1, y1) - std::max<double>(y, y0);
                if (wy <= 0 || y < 0 || y >= source.height) {
                    continue;
                }
                for (int x = static_cast<int>(std::floor(x0)); x < static_cast<int>(std::ceil(x1)); ++x) {
                    const double wx = std::min<double>(x + 1, x1) - std::max<double>(x, x0);
                    if (wx <= 0 || x < 0 || x >= source.width) {
                        continue;
                    }
                    const float* px = source.Px(x, y);
                    for (int c = 0; c < 4; ++c) {
                        acc[c] += px[c] * wx * wy;
                    }
                    area += wx * wy;
                }
            }
            float* o = out.Px(tx, ty);
            for (int c = 0; c < 4; ++c) {
                o[c] = area > 0 ? static_cast<float>(acc[c] / (sx * sy)) : 0.0f;
            }
        }
    }
    return out;
}

std::uint8_t ToByte(float value) {
    const float clamped = std::clamp(value, 0.0f, 1.0f);
    return static_cast<std::uint8_t>(std::lround(clamped * 255.0f));
}

void Composite(Picture& picture, const Layer& layer, int x, int y) {
    for (int ly = 0; ly < layer.height; ++ly) {
        for (int lx = 0; lx < layer.width; ++lx) {
            const int px = x + lx, py = y + ly;
            if (px < 0 || py < 0 || px >= picture.Width() || py >= picture.Height()) {
                continue;
            }
            const float* s = layer.Px(lx, ly);
            if (s[3] <= 0.0f) {
                continue;
            }
            Rgb& d = picture.At(px, py);
            const float keep = 1.0f - s[3];
            d.r = ToByte(s[0] + keep * static_cast<float>(d.r) / 255.0f);
            d.g = ToByte(s[1] + keep * static_cast<float>(d.g) / 255.0f);
            d.b = ToByte(s[2] + keep * static_cast<float>(d.b) / 255.0f);
        }
    }
}

void WriteBmp(const std::filesystem::path& path, const Picture& picture) {
    const int w = picture.Width(), h = picture.Height();
    const std::uint32_t stride = static_cast<std::uint32_t>((w * 3 + 3) & ~3);
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(h);
    const std::uint32_t headerSize = 14 + 40;
    Bytes out;
    out.reserve(headerSize + imageSize);
    out.push_back('B');
    out.push_back('M');
    PutLE32(out, headerSize + imageSize);
    PutLE32(out, 0);  // reserved
    PutLE32(out, headerSize);
    PutLE32(out, 40);
    PutLE32(out, static_cast<std::uint32_t>(w));
    PutLE32(out, static_cast<std::uint32_t>(h));  // positive: rows bottom-up
    PutLE16(out, 1);                              // planes
    PutLE16(out, 24);                             // bits per pixel
    PutLE32(out, 0);                              // no compression
    PutLE32(out, imageSize);
    PutLE32(out, 2835);  // 72 dots per inch
    PutLE32(out, 2835);
    PutLE32(out, 0);  // no colour table
    PutLE32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Rgb& p = picture.At(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(w * 3); pad < stride; ++pad) {
            out.push_back(0);
        }
    }
    WriteFile(path, out);
}

}  // namespace assetgen
