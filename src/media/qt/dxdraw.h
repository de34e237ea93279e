#pragma once
#include <QImage>
#include <QWidget>

namespace pelmoravan {

// The play surface: a child widget that fills the window's client area and keeps an off-screen
// surface of its own size.
class TDXDraw : public QWidget {
    Q_OBJECT
public:
    explicit TDXDraw(QWidget* parent = nullptr);

    QImage& Surface() { return FSurface; }
    const QImage& Surface() const { return FSurface; }
    int SurfaceWidth() const { return FSurface.width(); }
    int SurfaceHeight() const { return FSurface.height(); }
    // Shows the off-screen surface in the widget.
    void Flip();

signals:
    void SurfaceResized(int width, int height);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage FSurface;
};

} // namespace pelmoravan
