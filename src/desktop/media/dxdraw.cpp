// SPDX-License-Identifier: MIT
#include "desktop/media/dxdraw.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

namespace pelmoravan {

TDXDraw::TDXDraw(QWidget* parent) : QWidget(parent), FPixels(size()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TDXDraw::Present(const std::vector<TRect>& changed) {
    QRegion dirty;
    for (const TRect& r : changed) {
        dirty += QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    }
    if (!dirty.isEmpty()) {
        update(dirty);
    }
}

void TDXDraw::paintEvent(QPaintEvent* event) {
    // A repaint in the middle of a frame shows it as far as it was drawn, as the frame's end would.
    emit Repainting();
    FPixels.Release();
    QPainter painter(this);
    // The window holds nothing of its own under the surface: copy, do not blend.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QImage& frame = FPixels.Image();
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
}

void TDXDraw::resizeEvent(QResizeEvent* event) {
    const QSize size = event->size().expandedTo(QSize(1, 1));
    if (size != FPixels.Image().size()) {
        FPixels.Resize(size);
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

void TDXDraw::keyPressEvent(QKeyEvent* event) {
    if (const auto key = ToBoardKey(event->key())) {
        emit BoardKey(*key, (event->modifiers() & Qt::ControlModifier) != 0);
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

std::optional<TBoardKey> ToBoardKey(int key) {
    switch (key) {
    case Qt::Key_Left:
        return TBoardKey::Left;
    case Qt::Key_Right:
        return TBoardKey::Right;
    case Qt::Key_Up:
        return TBoardKey::Up;
    case Qt::Key_Down:
        return TBoardKey::Down;
    case Qt::Key_Home:
        return TBoardKey::Home;
    case Qt::Key_End:
        return TBoardKey::End;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return TBoardKey::Act;
    case Qt::Key_Backspace:
        return TBoardKey::Back;
    default:
        return std::nullopt;
    }
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
