#include "media/qt/dxdraw.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cstring>

namespace pelmoravan {

TDXDraw::TDXDraw(QWidget* parent) : QWidget(parent), FSurface(size()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    FPresented = FSurface.Image().copy();
}

bool TDXDraw::CanDraw() { return FSurface.Exists(); }

void TDXDraw::Flip() {
    FSurface.Release();
    const QImage& current = FSurface.Image();
    if (FPresented.size() != current.size() || FPresented.format() != current.format()) {
        FPresented = current.copy();
        FLastDirty = rect();
        update();
        return;
    }
    // Only what changed reaches the window: most frames differ in a few small places.
    FLastDirty = ChangedRect(FPresented, current);
    if (FLastDirty.isEmpty()) {
        return;
    }
    const qsizetype bytesPerPixel = current.depth() / 8;
    for (int y = FLastDirty.top(); y <= FLastDirty.bottom(); ++y) {
        std::memcpy(FPresented.scanLine(y) + FLastDirty.left() * bytesPerPixel,
                    current.constScanLine(y) + FLastDirty.left() * bytesPerPixel,
                    static_cast<std::size_t>(FLastDirty.width() * bytesPerPixel));
    }
    update(FLastDirty);
}

void TDXDraw::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), FPresented, area);
}

void TDXDraw::resizeEvent(QResizeEvent* event) {
    const QSize size = event->size().expandedTo(QSize(1, 1));
    if (size != FSurface.Image().size()) {
        FSurface.Resize(size);
        FPresented = FSurface.Image().copy();
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

QRect ChangedRect(const QImage& before, const QImage& after) {
    if (before.size() != after.size() || before.format() != after.format()) {
        return after.rect();
    }
    const int height = after.height();
    const int width = after.width();
    const qsizetype rowBytes = static_cast<qsizetype>(width) * after.depth() / 8;
    auto rowDiffers = [&](int y) {
        return std::memcmp(before.constScanLine(y), after.constScanLine(y),
                           static_cast<std::size_t>(rowBytes)) != 0;
    };
    int top = 0;
    while (top < height && !rowDiffers(top)) {
        ++top;
    }
    if (top == height) {
        return {};
    }
    int bottom = height - 1;
    while (bottom > top && !rowDiffers(bottom)) {
        --bottom;
    }
    // Columns: 32-bit pixels are compared whole; other depths fall back to the full width.
    if (after.depth() != 32) {
        return QRect(0, top, width, bottom - top + 1);
    }
    // Whole blocks are compared with memcmp first; only the block holding the first (or last)
    // difference is walked pixel by pixel.
    constexpr int kBlock = 16;
    int left = width;
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        const auto* a = reinterpret_cast<const quint32*>(before.constScanLine(y));
        const auto* b = reinterpret_cast<const quint32*>(after.constScanLine(y));
        int x = 0;
        while (x + kBlock <= left && std::memcmp(a + x, b + x, kBlock * 4) == 0) {
            x += kBlock;
        }
        while (x < left && a[x] == b[x]) {
            ++x;
        }
        left = std::min(left, x);
        int r = width; // one past the pixel to test
        while (r - kBlock > right && std::memcmp(a + r - kBlock, b + r - kBlock, kBlock * 4) == 0) {
            r -= kBlock;
        }
        --r;
        while (r > right && a[r] == b[r]) {
            --r;
        }
        right = std::max(right, r);
    }
    if (right < left) {
        return {};
    }
    return QRect(left, top, right - left + 1, bottom - top + 1);
}

} // namespace pelmoravan
