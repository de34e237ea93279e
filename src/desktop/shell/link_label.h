// SPDX-License-Identifier: MIT
#pragma once
#include <QLabel>

namespace pelmoravan {

// A label that opens an address with the desktop when clicked, and shows that it was opened.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    static QColor LinkColor() { return QColor(60, 60, 120); }
    static QColor VisitedColor() { return QColor(130, 95, 70); }

    explicit TLinkLabel(QWidget* parent = nullptr);

    // The address to open; when blank, the caption is opened instead.
    QString Link;
    bool Visited() const { return FVisited; }
    // Opens the target; the label turns to the visited colour only if the desktop accepted it.
    void Open();

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetColor(const QColor& color);
    bool FVisited = false;
};

} // namespace pelmoravan
