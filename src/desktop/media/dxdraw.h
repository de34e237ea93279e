// SPDX-License-Identifier: MIT
#pragma once
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "game/board_keys.h"
#include "game/mouse.h"
#include "media/canvas.h"
#include "desktop/media/qt_surface.h"

namespace pelmoravan {

// The play surface: a child widget that fills the window's client area and keeps pixels of its
// own size, on which the house draws its frames. A present sends what changed to the window; a
// repaint copies from the pixels, which between frames hold the last presented one. A widget
// made smaller than the size the game lays itself out for keeps the pixels at that size and
// shows them scaled down to fit, centred, with clicks mapped back.
class IBoardCells;

class TDXDraw : public QWidget, public IPlaySurface {
    Q_OBJECT
public:
    explicit TDXDraw(QWidget* parent = nullptr);

    // IPlaySurface
    IPaintDevice& Pixels() override { return FPixels; }
    bool CanDraw() const override { return FPixels.Exists(); }
    // Schedules a repaint of the changed areas.
    void Present(const std::vector<TRect>& changed) override;

    TQtPixels& QtPixels() { return FPixels; }
    const QImage& Image() const { return FPixels.Image(); }
    int SurfaceWidth() const { return FPixels.Width(); }
    int SurfaceHeight() const { return FPixels.Height(); }

    // What a screen reader hears of the board; the window's, null until it gives it.
    const IBoardCells* BoardCells() const { return FCells; }
    void SetBoardCells(const IBoardCells* cells) { FCells = cells; }
    // The size its window was fitted to (its client area on the work area); the surface is
    // that less what the window shows around the widget (the menu bar). Empty: the widget's.
    void SetFittedWindowSize(QSize size);
    // Whether the surface shows scaled down, and where on the widget it shows.
    bool Scaled() const { return FShown.size() != FPixels.Image().size(); }
    QRect Shown() const { return FShown; }
    // A rectangle of the surface where it shows on the widget.
    QRect SurfaceToWidget(const QRect& area) const;

signals:
    void SurfaceResized(int width, int height);
    // A repaint is about to show the pixels: what the frame drew so far must be on them.
    void Repainting();
    // A mouse button went down on the surface, in surface coordinates.
    void MouseDown(Qt::MouseButton button, int x, int y);
    // A key of the board cursor, pressed while the surface has the focus.
    void BoardKey(pelmoravan::TBoardKey key, bool ctrl);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Sizes the pixels and places them on the widget.
    void Fit();

    TQtPixels FPixels;
    QSize FFitted;
    QRect FShown;
    const IBoardCells* FCells = nullptr;
};

// The game's name for a Qt button; nothing for buttons the game does not know.
std::optional<TMouseButton> ToMouseButton(Qt::MouseButton button);
// The board cursor's key for a Qt key; nothing for keys the board does not take.
std::optional<TBoardKey> ToBoardKey(int key);

} // namespace pelmoravan
