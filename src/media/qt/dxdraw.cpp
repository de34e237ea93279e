#include "media/qt/dxdraw.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cstring>

namespace pelmoravan {

namespace {

// A print of the pixels of one block: four independent lanes, so that the multiplications
// overlap, folded into one at the end. Equal prints mean equal pixels but for a chance of 2^-64.
std::uint64_t BlockPrint(const QImage& image, const QRect& block) {
    constexpr std::uint64_t kOdd = 0x9E3779B97F4A7C15ull;
    std::uint64_t lane[4] = {1, 2, 3, 4};
    auto mix = [](std::uint64_t& h, std::uint64_t word) {
        h = (h ^ word) * kOdd;
        h ^= h >> 29;
    };
    const auto bytes = static_cast<std::size_t>(block.width()) * sizeof(QRgb);
    for (int y = block.top(); y <= block.bottom(); ++y) {
        const uchar* row =
            image.constScanLine(y) + static_cast<std::size_t>(block.left()) * sizeof(QRgb);
        std::size_t i = 0;
        for (; i + 32 <= bytes; i += 32) {
            for (int k = 0; k < 4; ++k) {
                std::uint64_t word;
                std::memcpy(&word, row + i + 8 * k, 8);
                mix(lane[k], word);
            }
        }
        for (; i < bytes; i += 4) {
            std::uint32_t pixel;
            std::memcpy(&pixel, row + i, 4);
            mix(lane[0], pixel);
        }
    }
    std::uint64_t print = 0;
    for (const std::uint64_t h : lane) {
        mix(print, h);
    }
    return print;
}

} // namespace

void TBlockPrints::Reset(QSize size) {
    FSize = size;
    FSeen.Reset(size);
    FColumns = (size.width() + TBlockSet::BlockWidth - 1) / TBlockSet::BlockWidth;
    const int rows = (size.height() + TBlockSet::BlockHeight - 1) / TBlockSet::BlockHeight;
    FPrints.assign(static_cast<std::size_t>(FColumns) * static_cast<std::size_t>(rows), 0);
    FKnown.assign(FPrints.size(), 0);
}

template <typename F>
void TBlockPrints::ForEachBlock(const QRect& rect, F&& visit) {
    const QRect bounds(QPoint(0, 0), FSize);
    const QRect inside = rect.intersected(bounds);
    if (inside.isEmpty()) {
        return;
    }
    constexpr int W = TBlockSet::BlockWidth;
    constexpr int H = TBlockSet::BlockHeight;
    for (int row = inside.top() / H; row <= inside.bottom() / H; ++row) {
        for (int column = inside.left() / W; column <= inside.right() / W; ++column) {
            const auto index = static_cast<std::size_t>(row) * static_cast<std::size_t>(FColumns) +
                               static_cast<std::size_t>(column);
            visit(index, QRect(column * W, row * H, W, H).intersected(bounds));
        }
    }
}

std::vector<QRect> TBlockPrints::Changed(const QImage& image, const std::vector<QRect>& areas) {
    if (image.size() != FSize) {
        Reset(image.size());
    }
    FSeen.Clear();
    for (const QRect& area : areas) {
        ForEachBlock(area, [&](std::size_t i, const QRect& block) {
            const std::uint64_t print = BlockPrint(image, block);
            if (FKnown[i] == 0 || FPrints[i] != print) {
                FPrints[i] = print;
                FKnown[i] = 1;
                FSeen.Mark(block);
            }
        });
    }
    return FSeen.Rects();
}

void TBlockPrints::Forget(const QRect& rect) {
    ForEachBlock(rect, [&](std::size_t i, const QRect&) { FKnown[i] = 0; });
}

TDXDraw::TDXDraw(QWidget* parent) : QWidget(parent), FSurface(size()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    FShown.Reset(FSurface.Image().size());
    FShownPrint = FSurface.Fingerprint();
}

bool TDXDraw::CanDraw() { return FSurface.Exists(); }

void TDXDraw::Flip() {
    FSurface.Release();
    const std::vector<QRect> written = FSurface.TakeWritten();
    const std::uint64_t print = FSurface.Fingerprint();
    FLastDirty = QRegion();
    // Most frames draw again exactly what is on show: nothing to compare.
    if (print == FShownPrint) {
        return;
    }
    FShownPrint = print;
    // Only what changed reaches the window: pixels the game did not write since the last flip
    // are as shown, and of those it wrote most frames change only a few.
    for (const QRect& changed : FShown.Changed(FSurface.Image(), written)) {
        FLastDirty += changed;
    }
    if (!FLastDirty.isEmpty()) {
        update(FLastDirty);
    }
}

void TDXDraw::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // The window holds nothing of its own under the surface: copy, do not blend.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QImage& frame = FSurface.Image();
    // In strips: a copy of many rows at once is split over a pool of threads, whose waking
    // costs more than the copy of one frame's change.
    constexpr int kStripRows = 64;
    for (const QRect& area : event->region()) {
        for (int top = area.top(); top <= area.bottom(); top += kStripRows) {
            const QRect strip(area.left(), top, area.width(),
                              std::min(kStripRows, area.bottom() + 1 - top));
            painter.drawImage(strip.topLeft(), frame, strip);
        }
    }
    // A repaint between a draw and its flip (a nested event loop) shows pixels the window was
    // never sent as a frame: the next flip sends those blocks again, whatever their prints.
    for (const QRect& pending : FSurface.Unflipped()) {
        if (event->region().intersects(pending)) {
            FShown.Forget(pending);
        }
    }
}

void TDXDraw::resizeEvent(QResizeEvent* event) {
    const QSize size = event->size().expandedTo(QSize(1, 1));
    if (size != FSurface.Image().size()) {
        FSurface.Resize(size);
        FShown.Reset(size);
        FShownPrint = FSurface.Fingerprint();
        emit SurfaceResized(size.width(), size.height());
    }
    QWidget::resizeEvent(event);
}

void TDXDraw::mousePressEvent(QMouseEvent* event) {
    // The widget and its surface have one size, so widget pixels are surface pixels.
    const QPoint at = event->position().toPoint();
    emit MouseDown(event->button(), at.x(), at.y());
    QWidget::mousePressEvent(event);
}

std::optional<TMouseButton> ToMouseButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return TMouseButton::mbLeft;
    case Qt::RightButton:
        return TMouseButton::mbRight;
    case Qt::MiddleButton:
        return TMouseButton::mbMiddle;
    default:
        return std::nullopt;
    }
}

} // namespace pelmoravan
