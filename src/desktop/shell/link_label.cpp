// SPDX-License-Identifier: MIT
#include "desktop/shell/link_label.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace pelmoravan {

TLinkLabel::TLinkLabel(QWidget* parent) : QLabel(parent) {
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(11);
    font.setUnderline(true);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_TranslucentBackground);
    SetColor(LinkColor());
}

void TLinkLabel::SetColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit Clicked();
        Open();
    }
}

void TLinkLabel::Open() {
    QString target = Link.trimmed();
    if (target.isEmpty()) {
        target = text().trimmed();
    }
    if (target.isEmpty()) {
        return;
    }
    // A failure changes nothing and says nothing; there is no open-with fallback here.
    if (QDesktopServices::openUrl(QUrl(target))) {
        FVisited = true;
        SetColor(VisitedColor());
        update();
    }
}

} // namespace pelmoravan
