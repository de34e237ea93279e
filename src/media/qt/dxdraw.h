#pragma once
#include <QImage>
#include <QWidget>
#include <optional>

#include "game/mouse.h"
#include "media/canvas.h"
#include "media/qt/qt_surface.h"

namespace pelmoravan {

// The play surface: a child widget that fills the window's client area and keeps an off-screen
// surface of its own size. Flip shows what the game drew; a repaint shows the last flipped frame.
class TDXDraw : public QWidget, public IDrawControl {
    Q_OBJECT
public:
    explicit TDXDraw(QWidget* parent = nullptr);

    // IDrawControl
    bool CanDraw() override;
    // Releases the canvas and schedules a repaint of what changed since the last flip.
    void Flip() override;
    ISurface& Surface() override { return FSurface; }

    TQtSurface& QtSurface() { return FSurface; }
    // What the window shows: the surface as it was at the last flip.
    const QImage& Presented() const { return FPresented; }
    int SurfaceWidth() const { return FSurface.Width(); }
    int SurfaceHeight() const { return FSurface.Height(); }
    // The bounds of what the last flip asked to repaint (empty when nothing changed).
    QRect LastFlipDirty() const { return FLastDirty; }

signals:
    void SurfaceResized(int width, int height);
    // A mouse button went down on the surface, in surface coordinates.
    void MouseDown(Qt::MouseButton button, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TQtSurface FSurface;
    QImage FPresented;
    std::uint64_t FPresentedPrint = 0; // the surface's fingerprint when FPresented was taken
    QRect FLastDirty;
};

// The game's name for a Qt button; nothing for buttons the game does not know.
std::optional<TMouseButton> ToMouseButton(Qt::MouseButton button);

// The smallest rectangle holding every pixel in which two images of one size and format differ;
// empty when they are equal.
QRect ChangedRect(const QImage& before, const QImage& after);
// The same, looking only inside `within`.
QRect ChangedRect(const QImage& before, const QImage& after, const QRect& within);

} // namespace pelmoravan
