// SPDX-License-Identifier: MIT
#include "desktop/media/dxdraw.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

namespace pelmoravan {

TDXDraw::TDXDraw(QWidget* parent) : QWidget(parent), FPixels(size()), FShown(QPoint(), FPixels.Image().size()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TDXDraw::Present(const std::vector<TRect>& changed) {
    QRegion dirty;
    for (const TRect& r : changed) {
        const QRect area(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        // Scaled, a pixel of the surface touches its neighbours' on the widget.
        dirty += Scaled() ? SurfaceToWidget(area).adjusted(-1, -1, 1, 1) : area;
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
    if (Scaled()) {
        painter.setClipRegion(event->region());
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(FShown, frame);
        const QRegion bars = QRegion(rect()) - FShown;
        for (const QRect& bar : bars) {
            painter.fillRect(bar, Qt::black);
        }
        return;
    }
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
    Fit();
    QWidget::resizeEvent(event);
}

void TDXDraw::SetFittedWindowSize(QSize size) {
    if (size != FFitted) {
        FFitted = size;
        Fit();
    }
}

void TDXDraw::Fit() {
    const QSize widget = size().expandedTo(QSize(1, 1));
    // What the window shows around the widget stays the same however large the window is.
    const QSize around = window()->size() - size();
    const QSize surface = FFitted.isEmpty() ? widget : widget.expandedTo(FFitted - around);
    const bool resized = surface != FPixels.Image().size();
    if (resized) {
        FPixels.Resize(surface);
    }
    const QSize shown =
        surface == widget ? surface : surface.scaled(widget, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const QRect place(QPoint((widget.width() - shown.width()) / 2, (widget.height() - shown.height()) / 2), shown);
    if (place != FShown) {
        FShown = place;
        update();
    }
    if (resized) {
        emit SurfaceResized(surface.width(), surface.height());
    }
}

QRect TDXDraw::SurfaceToWidget(const QRect& area) const {
    if (!Scaled()) {
        return area;
    }
    const double sx = static_cast<double>(FShown.width()) / FPixels.Width();
    const double sy = static_cast<double>(FShown.height()) / FPixels.Height();
    const int left = FShown.left() + static_cast<int>(std::floor(area.left() * sx));
    const int top = FShown.top() + static_cast<int>(std::floor(area.top() * sy));
    const int right = FShown.left() + static_cast<int>(std::ceil((area.right() + 1) * sx));
    const int bottom = FShown.top() + static_cast<int>(std::ceil((area.bottom() + 1) * sy));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void TDXDraw::mousePressEvent(QMouseEvent* event) {
    QPoint at = event->position().toPoint();
    if (Scaled()) {
        // Clicks on the black bars beside a scaled surface fall on nothing.
        if (!FShown.contains(at)) {
            QWidget::mousePressEvent(event);
            return;
        }
        at = QPoint((at.x() - FShown.left()) * FPixels.Width() / FShown.width(),
                    (at.y() - FShown.top()) * FPixels.Height() / FShown.height());
    }
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
    case Qt::Key_M:
        return TBoardKey::Match;
    case Qt::Key_T:
        return TBoardKey::Status;
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
