#include "media/qt/dxdraw.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cstring>

namespace pelmoravan {

TDXDraw::TDXDraw(QWidget* parent) : QWidget(parent), FSurface(size()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    FPresented = FSurface.Image().copy();
    FPresentedPrint = FSurface.Fingerprint();
}

bool TDXDraw::CanDraw() { return FSurface.Exists(); }

void TDXDraw::Flip() {
    FSurface.Release();
    const QImage& current = FSurface.Image();
    const std::vector<QRect> written = FSurface.TakeWritten();
    const std::uint64_t print = FSurface.Fingerprint();
    if (FPresented.size() != current.size() || FPresented.format() != current.format()) {
        FPresented = current.copy();
        FPresentedPrint = print;
        FLastDirty = rect();
        update();
        return;
    }
    FLastDirty = QRect();
    // Most frames draw again exactly what is on show: nothing to compare.
    if (print == FPresentedPrint) {
        return;
    }
    FPresentedPrint = print;
    // Only what changed reaches the window: pixels the game did not write since the last flip
    // are as shown, and of those it wrote most frames change only a few.
    const qsizetype bytesPerPixel = current.depth() / 8;
    for (const QRect& area : written) {
        const QRect changed = ChangedRect(FPresented, current, area);
        if (changed.isEmpty()) {
            continue;
        }
        for (int y = changed.top(); y <= changed.bottom(); ++y) {
            std::memcpy(FPresented.scanLine(y) + changed.left() * bytesPerPixel,
                        current.constScanLine(y) + changed.left() * bytesPerPixel,
                        static_cast<std::size_t>(changed.width() * bytesPerPixel));
        }
        FLastDirty = FLastDirty.united(changed);
        update(changed);
    }
}

void TDXDraw::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // The window holds nothing of its own under the surface: copy, do not blend.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& area : event->region()) {
        painter.drawImage(area.topLeft(), FPresented, area);
    }
}

void TDXDraw::resizeEvent(QResizeEvent* event) {
    const QSize size = event->size().expandedTo(QSize(1, 1));
    if (size != FSurface.Image().size()) {
        FSurface.Resize(size);
        FPresented = FSurface.Image().copy();
        FPresentedPrint = FSurface.Fingerprint();
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
    return ChangedRect(before, after, after.rect());
}

QRect ChangedRect(const QImage& before, const QImage& after, const QRect& within) {
    if (before.size() != after.size() || before.format() != after.format()) {
        return after.rect();
    }
    const QRect area = within.intersected(after.rect());
    if (area.isEmpty()) {
        return {};
    }
    const int depthBytes = after.depth() / 8;
    const qsizetype rowBytes = static_cast<qsizetype>(area.width()) * depthBytes;
    const qsizetype offset = static_cast<qsizetype>(area.left()) * depthBytes;
    auto rowDiffers = [&](int y) {
        return std::memcmp(before.constScanLine(y) + offset, after.constScanLine(y) + offset,
                           static_cast<std::size_t>(rowBytes)) != 0;
    };
    int top = area.top();
    while (top <= area.bottom() && !rowDiffers(top)) {
        ++top;
    }
    if (top > area.bottom()) {
        return {};
    }
    int bottom = area.bottom();
    while (bottom > top && !rowDiffers(bottom)) {
        --bottom;
    }
    // Columns: 32-bit pixels are compared whole; other depths fall back to the full width.
    if (after.depth() != 32) {
        return QRect(area.left(), top, area.width(), bottom - top + 1);
    }
    // Whole blocks are compared with memcmp first; only the block holding the first (or last)
    // difference is walked pixel by pixel. Columns count from the area's left edge.
    constexpr int kBlock = 16;
    const int width = area.width();
    int left = width;
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        const auto* a = reinterpret_cast<const quint32*>(before.constScanLine(y)) + area.left();
        const auto* b = reinterpret_cast<const quint32*>(after.constScanLine(y)) + area.left();
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
    return QRect(area.left() + left, top, right - left + 1, bottom - top + 1);
}

} // namespace pelmoravan
