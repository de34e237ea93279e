#include <string>

#include "game/game.h"
#include "game/rounding.h"

namespace pelmoravan {

namespace {

constexpr TColor kBlack = 0;
constexpr TColor kRed = 255;
constexpr TColor kYellow = 65535;
constexpr TColor kWhite = 16777215;

// The tables are filled by language; an index they do not cover reads as an empty text.
template <std::size_t N>
const std::string& TextAt(const std::array<std::string, N>& table, std::int32_t index) {
    static const std::string empty;
    return index >= 0 && static_cast<std::size_t>(index) < N ? table[static_cast<std::size_t>(index)]
                                                             : empty;
}

} // namespace

void TGame::DrawStatusBand() {
    if (!DXDraw->CanDraw()) {
        return;
    }
    ICanvas& canvas = DXDraw->Surface().Canvas();
    // The band is centred on the whole display, not on the window.
    const std::int32_t screen = Host.ScreenWidth();
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
    canvas.TextOut(10, 10, Messages[10] + std::to_string(remaining));
    canvas.TextOut(10, 25, Messages[11] + std::to_string(HintsLeft) + Messages[13]);
    canvas.TextOut(10, 40, Messages[12] + std::to_string(ShufflesLeft) + Messages[13]);
    canvas.TextOut(10, 55, TextAt(LevelNames, Level));

    canvas.SetFontColor(kYellow);
    canvas.SetFontSize(12);
    const std::string& rule = Level == 10 ? Messages[42] : TextAt(Messages, Level);
    canvas.TextOut((screen - canvas.TextWidth(rule)) / 2, TimeBarTop + TimeBarHeight + 10, rule);

    canvas.SetFontColor(kRed);
    canvas.SetFontSize(12);
    canvas.TextOut(left + TimeBarWidth + 20, TimeBarTop, "Scores : " + std::to_string(Score));

    if (BonusKind > 0 && BonusKind < 5) {
        const std::string& name = TextAt(BonusNames, BonusKind);
        // Centred on the name alone, so the amount sticks out to the left.
        canvas.TextOut((screen - canvas.TextWidth(name)) / 2,
                       canvas.TextHeight("A") + TimeBarTop + TimeBarHeight + 20,
                       std::to_string(BonusAmount) + " " + name);
        DisplayTicks += 1;
        if (DisplayTicks >= TickThreshold(3000)) {
            DisplayTicks = 0;
            BonusKind = -1;
        }
    }
}

void TGame::CheckLevelCleared() {
    if (GameState != 1 || DXSpriteEngine.Root()->Count() != 0) {
        return;
    }
    if (DXDraw->CanDraw()) {
        ICanvas& canvas = DXDraw->Surface().Canvas();
        canvas.SetFontSize(30);
        canvas.SetFontColor(kRed);
        if (Level < 10) {
            const std::string& next = TextAt(LevelNames, Level + 1);
            canvas.TextOut((Host.ScreenWidth() - canvas.TextWidth(next)) / 2,
                           (Host.SurfaceHeight() - canvas.TextHeight("第")) / 2, next);
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
