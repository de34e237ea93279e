// SPDX-License-Identifier: MIT
#pragma once
#include <QObject>
#include <QRegion>
#include <vector>

#include "desktop/media/dxdraw.h"
#include "media/play_draw.h"

namespace pelmoravan::testing {

// The play surface with the house's drawing stack over it, as the main window has it, and what
// the last flip asked the window to repaint.
class TShownDraw final : public IPlaySurface {
public:
    explicit TShownDraw(TDXDraw& draw) : Draw(draw) {
        FRepainting = QObject::connect(&draw, &TDXDraw::Repainting, [this] { Play.Repainting(); });
    }
    ~TShownDraw() override { QObject::disconnect(FRepainting); }
    TShownDraw(const TShownDraw&) = delete;
    TShownDraw& operator=(const TShownDraw&) = delete;

    IPaintDevice& Pixels() override { return Draw.Pixels(); }
    bool CanDraw() const override { return Draw.CanDraw(); }
    void Present(const std::vector<TRect>& changed) override {
        for (const TRect& r : changed) {
            Last += QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        }
        Draw.Present(changed);
    }

    ISurface& Surface() { return Play.Surface(); }
    // A flip; what it asked to repaint (empty when nothing changed).
    const QRegion& Flip() {
        Last = QRegion();
        Play.Flip();
        return Last;
    }

    TDXDraw& Draw;
    QRegion Last;
    TPlayDraw Play{*this};

private:
    QMetaObject::Connection FRepainting;
};

} // namespace pelmoravan::testing
