#include "desktop/media/dxdraw.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cstring>

namespace pelmoravan {

void TBlockPrints::Reset(QSize size) {
    FSize = size;
    FSeen.Reset(size);
    const int columns = (size.width() + TBlockSet::BlockWidth - 1) / TBlockSet::BlockWidth;
    const int rows = (size.height() + TBlockSet::BlockHeight - 1) / TBlockSet::BlockHeight;
    FPrints.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    FKnown.assign(FPrints.size(), 0);
}

std::vector<QRect> TBlockPrints::Changed(const TQtSurface& surface, const std::vector<QRect>& areas) {
    if (surface.Image().size() != FSize) {
        Reset(surface.Image().size());
    }
    FSeen.Clear();
    for (const QRect& area : areas) {
        ForEachBlock(FSize, area, [&](std::size_t i, const QRect& block) {
            const std::uint64_t print = surface.BlockPrint(i);
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
    ForEachBlock(FSize, rect, [&](std::size_t i, const QRect&) { FKnown[i] = 0; });
}

TDXDraw::TDXDraw(QWidget* parent) : QWidget(parent), FSurface(size()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The board cursor's keys come to the surface: it takes the focus by Tab and by click.
    setFocusPolicy(Qt::StrongFocus);
    FShown.Reset(FSurface.Image().size());
    FShownPrint = FSurface.Fingerprint();
}

bool TDXDraw::CanDraw() { return FSurface.Exists(); }

void TDXDraw::Flip() {
    FLastDirty = QRegion();
    if (!FRecord.EndFrame()) {
        return; // the frame on show again
    }
    FSurface.Release();
    const std::vector<QRect> written = FSurface.TakeWritten();
    const std::uint64_t print = FSurface.Fingerprint();
    // Most frames draw again exactly what is on show: nothing to compare.
    if (print == FShownPrint && !FResend) {
        return;
    }
    FShownPrint = print;
    FResend = false;
    // Only what changed reaches the window: pixels the game did not write since the last flip
    // are as shown, and of those it wrote most frames change only a few.
    for (const QRect& changed : FShown.Changed(FSurface, written)) {
        FLastDirty += changed;
    }
    if (!FLastDirty.isEmpty()) {
        update(FLastDirty);
    }
}

void TDXDraw::paintEvent(QPaintEvent* event) {
    // A repaint in the middle of a frame shows it as far as it was drawn, as the frame's end would.
    FRecord.Flush();
    FSurface.Release();
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
            FResend = true;
        }
    }
}

void TDXDraw::resizeEvent(QResizeEvent* event) {
    const QSize size = event->size().expandedTo(QSize(1, 1));
    if (size != FSurface.Image().size()) {
        FSurface.Resize(size);
        FRecord.Invalidate();
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
