// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <filesystem>
#include <vector>

class QImage;

namespace assetgen {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// An opaque 24-bit picture, the form every picture of the game is stored in.
class Picture {
public:
    Picture(int width, int height, Rgb fill);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb& At(int x, int y) { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
    const Rgb& At(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }

private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

// A premultiplied RGBA picture with float channels in 0..1, for resampling and compositing.
struct Layer {
    int width = 0;
    int height = 0;
    std::vector<float> rgba;  // 4 per pixel, premultiplied

    Layer() = default;
    Layer(int w, int h) : width(w), height(h), rgba(static_cast<std::size_t>(w * h * 4), 0.0f) {}
    float* Px(int x, int y) { return &rgba[static_cast<std::size_t>((y * width + x) * 4)]; }
    const float* Px(int x, int y) const { return &rgba[static_cast<std::size_t>((y * width + x) * 4)]; }
};

// Converts a QImage of any format into a layer.
Layer LayerFromImage(const QImage& image);

// Smallest rectangle holding every pixel with alpha above the threshold; empty layer gives 0 size.
struct Box {
    int x = 0, y = 0, w = 0, h = 0;
};
Box AlphaBounds(const Layer& layer, float threshold);

// Area-averaging resample of the source box into a layer of the given size: every target pixel
// is the coverage-weighted mean of the source pixels under it, so small pictures stay crisp.
Layer Resample(const Layer& source, Box from, int width, int height);

// Lays the layer over the picture with its top-left corner at (x, y).
void Composite(Picture& picture, const Layer& layer, int x, int y);

// Rounds a 0..1 channel to 0..255.
std::uint8_t ToByte(float value);

// 24-bit uncompressed BMP, rows bottom-up and padded to four bytes.
void WriteBmp(const std::filesystem::path& path, const Picture& picture);

}  // namespace assetgen
