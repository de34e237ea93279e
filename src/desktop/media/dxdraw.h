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
#include "media/canvas_state.h"
#include "media/frame_record.h"
#include "desktop/media/qt_surface.h"

namespace pelmoravan {

// The surface's block prints as the window was last sent them, to tell which blocks changed
// without keeping a copy of the pixels: a block whose print is as sent holds the pixels sent.
class TBlockPrints {
public:
    // Every block unknown, for an image of the size: the next look reports each as changed.
    void Reset(QSize size);
    // The blocks under the areas whose prints differ from when they were last looked at (or
    // were never looked at), as rectangles; they are remembered as they are now.
    std::vector<QRect> Changed(const TQtSurface& surface, const std::vector<QRect>& areas);
    // The blocks under the rectangle become unknown again.
    void Forget(const QRect& rect);

private:
    TBlockSet FSeen;
    QSize FSize;
    std::vector<std::uint64_t> FPrints;
    std::vector<std::uint8_t> FKnown;
};

// The play surface: a child widget that fills the window's client area and keeps an off-screen
// surface of its own size. The game's drawing is kept until Flip, which paints it only when it
// differs from the last frame and then sends to the window what changed; a repaint copies from
// the surface, which between frames holds the last flipped one.
class TDXDraw : public QWidget, public IDrawControl {
    Q_OBJECT
public:
    explicit TDXDraw(QWidget* parent = nullptr);

    // IDrawControl
    bool CanDraw() override;
    // Releases the canvas and schedules a repaint of what changed since the last flip.
    void Flip() override;
    ISurface& Surface() override { return FCanvas; }

    TQtSurface& QtSurface() { return FSurface; }
    int SurfaceWidth() const { return FSurface.Width(); }
    int SurfaceHeight() const { return FSurface.Height(); }
    // What the last flip asked to repaint (empty when nothing changed).
    const QRegion& LastFlipDirty() const { return FLastDirty; }

signals:
    void SurfaceResized(int width, int height);
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
    TQtSurface FSurface;
    TFrameRecord FRecord{FSurface.QtPixels()};
    TCanvas FCanvas{FRecord};
    // What the window was last sent, as block prints and as the surface's fingerprint then:
    // a second full-size copy of the frame would cost as much memory as the surface itself.
    TBlockPrints FShown;
    std::uint64_t FShownPrint = 0;
    bool FResend = false; // blocks were forgotten: the next flip compares even an equal frame
    QRegion FLastDirty;
};

// The game's name for a Qt button; nothing for buttons the game does not know.
std::optional<TMouseButton> ToMouseButton(Qt::MouseButton button);
// The board cursor's key for a Qt key; nothing for keys the board does not take.
std::optional<TBoardKey> ToBoardKey(int key);

} // namespace pelmoravan
