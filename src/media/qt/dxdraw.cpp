#include "media/qt/dxdraw.h"

#include <QPainter>
#include <QResizeEvent>

namespace pelmoravan {

TDXDraw::TDXDraw(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    FSurface = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
    FSurface.fill(Qt::black);
}

void TDXDraw::Flip() { update(); }

void TDXDraw::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, FSurface);
}

void TDXDraw::resizeEvent(QResizeEvent* event) {
    const QSize size = event->size().expandedTo(QSize(1, 1));
    if (size != FSurface.size()) {
        FSurface = QImage(size, QImage::Format_ARGB32_Premultiplied);
        FSurface.fill(Qt::black);
        emit SurfaceResized(size.width(), size.height());
    }
    QWidget::resizeEvent(event);
}

} // namespace pelmoravan
