// SPDX-License-Identifier: MIT
#include <string>

#include "game/game.h"
#include "game/rounding.h"
#include "screen/status_lines.h"

namespace pelmoravan {

namespace {

constexpr TColor kBlack = 0;
constexpr TColor kRed = 255;
constexpr TColor kYellow = 65535;
constexpr TColor kWhite = 16777215;

} // namespace

void TGame::DrawStatusBand() {
    if (!DXDraw->CanDraw()) {
        return;
    }
    ICanvas& canvas = DXDraw->Surface().Canvas();
    // The band is centred on the whole display, not on the window.
    const std::int32_t screen = Window.ScreenWidth();
    const std::int32_t left = (screen - TimeBarWidth) / 2;
    const std::int32_t remaining = TimeLimit - ElapsedSeconds;

    canvas.SetBrushStyle(TBrushStyle::bsSolid);
    canvas.SetBrushColor(kWhite);
    canvas.FillRect({left - 1, TimeBarTop - 1, left + TimeBarWidth + 1, TimeBarTop + TimeBarHeight + 1});
    canvas.SetBrushColor(static_cast<TColor>(TimeBarColor));
    const std::int32_t barWidth =
        static_cast<std::int32_t>(RndRatio(static_cast<std::int64_t>(remaining) * TimeBarWidth, TimeLimit));
    canvas.FillRect({left, TimeBarTop, left + barWidth, TimeBarTop + TimeBarHeight});

    // Every text of the band sits on a black box.
    canvas.SetBrushColor(kBlack);
    canvas.SetFontColor(kWhite);
    canvas.SetFontSize(9);
    canvas.TextOut(10, 10, TimeLine(*this, remaining));
    canvas.TextOut(10, 25, HintLine(*this));
    canvas.TextOut(10, 40, ShuffleLine(*this));
    canvas.TextOut(10, 55, LevelName(*this, Level));

    canvas.SetFontColor(kYellow);
    canvas.SetFontSize(12);
    const std::string& rule = RuleLine(*this);
    canvas.TextOut((screen - canvas.TextWidth(rule)) / 2, TimeBarTop + TimeBarHeight + 10, rule);

    canvas.SetFontColor(kRed);
    canvas.SetFontSize(12);
    canvas.TextOut(left + TimeBarWidth + 20, TimeBarTop, ScoreLine(*this));

    if (BonusKind > 0 && BonusKind < 5) {
        // Centred on the name alone, so the amount sticks out to the left.
        canvas.TextOut((screen - canvas.TextWidth(BonusNames[static_cast<std::size_t>(BonusKind)])) / 2,
                       canvas.TextHeight("A") + TimeBarTop + TimeBarHeight + 20, BonusLine(*this));
        DisplayTicks += 1;
        if (DisplayTicks >= TickThreshold(3000)) {
            DisplayTicks = 0;
            BonusKind = -1;
        }
    }
}

void TGame::CheckLevelCleared() {
    if (GameState != TGameState::Playing || DXSpriteEngine.Root()->Count() != 0) {
        return;
    }
    if (DXDraw->CanDraw()) {
        ICanvas& canvas = DXDraw->Surface().Canvas();
        canvas.SetFontSize(30);
        canvas.SetFontColor(kRed);
        if (Level < 10) {
            const std::string& next = LevelName(*this, Level + 1);
            // Upright, the banner stays level over the middle of the turned board.
            const ISurface& surface = DXDraw->Surface();
            const std::int32_t width = BoardUpright ? surface.Width() : Window.ScreenWidth();
            const std::int32_t height = BoardUpright ? surface.Height() : Host.SurfaceHeight();
            canvas.TextOut((width - canvas.TextWidth(next)) / 2, (height - canvas.TextHeight("第")) / 2, next);
        }
    }
    DisplayTicks += 1;
    if (DisplayTicks >= TickThreshold(500)) {
        DisplayTicks = 0;
        AdvanceLevel();
        PairsRemoved = 0;
    }
}

} // namespace pelmoravan
