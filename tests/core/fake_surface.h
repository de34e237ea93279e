// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "media/canvas.h"
#include "media/canvas_state.h"
#include "ports/paint_device.h"
#include "media/collection.h"
#include "media/keyboard.h"

namespace pelmoravan::testing {

// A picture that has a size and no pixels.
class FakePicture final : public IPictureData {
public:
    FakePicture(std::int32_t width, std::int32_t height) : W(width), H(height) {}
    std::int32_t Width() const override { return W; }
    std::int32_t Height() const override { return H; }
    std::int32_t W;
    std::int32_t H;
};

enum class OpKind { Fill, Draw, StretchDraw, WaveDraw, FillRect, Text, Polyline, Release, Flip };

// One recorded drawing call, with the canvas state it was made in.
struct DrawOp {
    OpKind Kind = OpKind::Fill;
    std::string Image;          // image ops: the item's name
    TRect Rect;                 // FillRect and StretchDraw
    std::int32_t X = 0, Y = 0;  // Draw, WaveDraw, Text
    std::int32_t W = 0, H = 0;  // WaveDraw
    std::int32_t Pattern = 0, Amplitude = 0, Wavelength = 0, Phase = 0;
    std::uint32_t Value = 0;    // Fill
    std::string Text;
    std::vector<TPoint> Points;
    TColor BrushColor = 0;
    TBrushStyle BrushStyle = TBrushStyle::bsSolid;
    TColor PenColor = 0;
    std::int32_t PenWidth = 0;
    TColor FontColor = 0;
    std::int32_t FontSize = 0;
};

// Text extents of the fake font: every character (UTF-8 code point) is as wide as the point
// size, and a line is a third taller than it.
inline std::int32_t FakeTextWidth(std::int32_t size, const std::string& text) {
    std::int32_t chars = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            chars += 1;
        }
    }
    return chars * size;
}
inline std::int32_t FakeTextHeight(std::int32_t size) { return size + size / 3; }

// A device that logs what it is asked to paint, each call with the canvas state it was made in.
class FakeSurface final : public IPaintDevice {
public:
    FakeSurface(std::int32_t width, std::int32_t height) : W(width), H(height) {}

    std::int32_t Width() const override { return W; }
    std::int32_t Height() const override { return H; }
    void FillAll(std::uint32_t value) override {
        DrawOp op = Op(OpKind::Fill);
        op.Value = value;
        Ops.push_back(op);
    }
    void FillRect(const TRect& rect, TColor) override {
        DrawOp op = Op(OpKind::FillRect);
        op.Rect = rect;
        Ops.push_back(op);
    }
    void Polyline(const std::vector<TPoint>& points, TColor, std::int32_t) override {
        DrawOp op = Op(OpKind::Polyline);
        op.Points = points;
        Ops.push_back(op);
    }
    TTextExtent MeasureText(const std::string& text, std::int32_t points) override {
        const std::int32_t w = FakeTextWidth(points, text);
        const std::int32_t h = FakeTextHeight(points);
        return {w, points, h, {0, 0, w, h}};
    }
    void Text(std::int32_t x, std::int32_t y, const std::string& text, const TTextPaint&,
              const TTextExtent&) override {
        DrawOp op = Op(OpKind::Text);
        op.X = x;
        op.Y = y;
        op.Text = text;
        Ops.push_back(op);
    }
    void Picture(const TPictureCollectionItem& item, std::int32_t x, std::int32_t y,
                 std::int32_t pattern) override {
        DrawOp op = Op(OpKind::Draw);
        op.Image = item.Name;
        op.X = x;
        op.Y = y;
        op.Pattern = pattern;
        Ops.push_back(op);
    }
    void StretchedPicture(const TPictureCollectionItem& item, const TRect& dest,
                          std::int32_t pattern) override {
        if (FailingImages.contains(item.Name)) {
            throw std::runtime_error("cannot draw " + item.Name);
        }
        DrawOp op = Op(OpKind::StretchDraw);
        op.Image = item.Name;
        op.Rect = dest;
        op.Pattern = pattern;
        Ops.push_back(op);
    }
    void WaveRows(const TPictureCollectionItem& item, std::int32_t pattern, const TWave& wave,
                  const std::vector<TWaveRow>&) override {
        DrawOp op = Op(OpKind::WaveDraw);
        op.Image = item.Name;
        op.X = wave.X;
        op.Y = wave.Y;
        op.W = wave.W;
        op.H = wave.H;
        op.Pattern = pattern;
        op.Amplitude = wave.Amplitude;
        op.Wavelength = wave.Wavelength;
        op.Phase = wave.Phase;
        Ops.push_back(op);
    }
    void Release() override { Ops.push_back(Op(OpKind::Release)); }

    DrawOp Op(OpKind kind) const {
        DrawOp op;
        op.Kind = kind;
        if (State != nullptr) {
            op.BrushColor = State->BrushColor;
            op.BrushStyle = State->BrushStyle;
            op.PenColor = State->PenColor;
            op.PenWidth = State->PenWidth;
            op.FontColor = State->FontColor;
            op.FontSize = State->FontSize;
        }
        return op;
    }

    std::int32_t W;
    std::int32_t H;
    std::vector<DrawOp> Ops;
    std::set<std::string> FailingImages; // StretchDraw of these items throws
    const TCanvasState* State = nullptr; // the canvas whose state each op notes
};

// The play surface: the core's canvas over the logging device; counts its presents in the log.
class FakeDrawControl final : public IDrawControl {
public:
    FakeDrawControl(std::int32_t width = 1280, std::int32_t height = 720) : FSurface(width, height) {
        FSurface.State = &FCanvas.State();
    }
    bool CanDraw() override { return Drawable; }
    void Flip() override {
        Flips += 1;
        FSurface.Ops.push_back(FSurface.Op(OpKind::Flip));
        if (FlipThrows) {
            throw std::runtime_error("surface lost");
        }
    }
    ISurface& Surface() override { return FCanvas; }
    FakeSurface& Fake() { return FSurface; }

    std::vector<DrawOp>& Ops() { return FSurface.Ops; }
    std::vector<DrawOp> OpsOf(OpKind kind) const {
        std::vector<DrawOp> out;
        for (const DrawOp& op : FSurface.Ops) {
            if (op.Kind == kind) {
                out.push_back(op);
            }
        }
        return out;
    }
    std::vector<OpKind> Kinds() const {
        std::vector<OpKind> out;
        for (const DrawOp& op : FSurface.Ops) {
            out.push_back(op.Kind);
        }
        return out;
    }
    // The text op whose text is exactly `text`, or null.
    const DrawOp* TextOp(const std::string& text) const {
        for (const DrawOp& op : FSurface.Ops) {
            if (op.Kind == OpKind::Text && op.Text == text) {
                return &op;
            }
        }
        return nullptr;
    }
    void Clear() { FSurface.Ops.clear(); }

    bool Drawable = true;
    bool FlipThrows = false;
    int Flips = 0;

private:
    FakeSurface FSurface;
    TCanvas FCanvas{FSurface};
};

// Key state set by the test; a poll is counted and changes nothing.
class FakeKeyboard final : public IKeyboard {
public:
    void Poll() override { Polls += 1; }
    bool KeyDown(TKey key) const override { return Down.contains(key); }
    std::set<TKey> Down;
    int Polls = 0;
};

inline TPictureCollectionItem& AddPicture(TPictureCollection& list, const std::string& name,
                                          std::int32_t width, std::int32_t height, bool transparent,
                                          std::uint32_t key) {
    TPictureCollectionItem& item = list.Add(name);
    item.Picture = std::make_shared<FakePicture>(width, height);
    item.Transparent = transparent;
    item.TransparentColor = key;
    return item;
}

// "back", "gameover" and "logo" with their catalog sizes.
inline std::unique_ptr<TPictureCollection> MakeScreenPictures() {
    auto list = std::make_unique<TPictureCollection>();
    AddPicture(*list, "back", 200, 150, true, 0);
    AddPicture(*list, "gameover", 200, 150, true, 0);
    AddPicture(*list, "logo", 400, 300, false, 0);
    return list;
}

// "back1".."back10", 57 x 45, black keyed.
inline std::unique_ptr<TPictureCollection> MakeTileBacks() {
    auto list = std::make_unique<TPictureCollection>();
    for (int i = 1; i <= 10; ++i) {
        AddPicture(*list, "back" + std::to_string(i), 57, 45, true, 0);
    }
    return list;
}

} // namespace pelmoravan::testing
