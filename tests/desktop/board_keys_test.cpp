// SPDX-License-Identifier: MIT
#include <QAccessible>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include "desktop/media/dx_timer.h"
#include "desktop/media/dxdraw.h"
#include "desktop/shell/form1.h"

namespace pelmoravan {
namespace {

// Plays the first pairs of an English game by keys alone, hearing only what a screen reader
// hears: the play surface's accessible name and description.
TEST(BoardKeys, AHintedPairFoundByEarAndTakenByKeysAlone) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    // The ticks are the test's: the timer delivers none.
    const auto onTimer = form.DXTimer1().Timer().OnTimer;
    form.DXTimer1().Timer().OnTimer = nullptr;
    form.Host().MenuItem(TMenuItem::English1);
    TDXDraw* draw = form.DXDraw();
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(draw);
    ASSERT_NE(reader, nullptr);
    auto heard = [&] { return reader->text(QAccessible::Name); };
    auto key = [&](Qt::Key k) { QTest::keyClick(draw, k); };
    auto tick = [&] { onTimer(1); };
    // The magenta pixels along the top edge of the cell at (x, y).
    auto framed = [&](int x, int y) {
        tick();
        const QImage& image = draw->Image();
        int count = 0;
        for (int i = 0; i < form.Game().CellWidth; ++i) {
            count += image.pixelColor(x + i, y).rgb() == qRgb(255, 0, 255) ? 1 : 0;
        }
        return count;
    };

    QTest::keyClick(&form, Qt::Key_F2);
    ASSERT_EQ(form.Game().GameState, TGameState::Playing);
    ASSERT_TRUE(draw->hasFocus());
    const TCell home = form.Game().Board[0][0];
    EXPECT_EQ(framed(home.X, home.Y), 0); // no cursor key yet: no frame

    // A cell: its picture, then the column and row, or only the one a key moved along.
    const QRegularExpression cell(QStringLiteral("^(.+?) (\\d+)(?: (\\d+))?$"));
    const QRegularExpression hinted(QStringLiteral("^hint: .+? (\\d+) (\\d+) and (\\d+) (\\d+)$"));
    std::pair<int, int> at;
    auto walk = [&](Qt::Key k) {
        key(k);
        const auto m = cell.match(heard());
        EXPECT_TRUE(m.hasMatch()) << heard().toStdString();
        if (m.capturedLength(3) > 0) {
            at = {m.captured(2).toInt(), m.captured(3).toInt()};
        } else if (k == Qt::Key_Up || k == Qt::Key_Down) {
            at.second = m.captured(2).toInt();
        } else {
            at.first = m.captured(2).toInt();
        }
    };
    for (int pair = 0; pair < 2; ++pair) {
        key(Qt::Key_F4);
        const QString hint = heard();
        const auto h = hinted.match(hint);
        ASSERT_TRUE(h.hasMatch()) << hint.toStdString();
        const std::vector<std::pair<int, int>> targets{{h.captured(1).toInt(), h.captured(2).toInt()},
                                                       {h.captured(3).toInt(), h.captured(4).toInt()}};
        for (std::size_t t = 0; t < 2; ++t) {
            walk(Qt::Key_Home); // the first key of the game only shows the cursor
            for (int steps = 0; steps < 40 && at != targets[t]; ++steps) {
                walk(at.first < targets[t].first    ? Qt::Key_Right
                     : at.first > targets[t].first  ? Qt::Key_Left
                     : at.second < targets[t].second ? Qt::Key_Down
                                                     : Qt::Key_Up);
            }
            ASSERT_EQ(at, targets[t]);
            key(Qt::Key_Space);
        }
        const QString said = heard();
        EXPECT_TRUE(said.startsWith(QStringLiteral("two ")) &&
                    said.endsWith(QStringLiteral(" removed, %1 tiles left").arg(158 - 2 * pair)))
            << said.toStdString();
        for (const auto& [col, row] : targets) {
            EXPECT_TRUE(form.Game().Board[static_cast<std::size_t>(col - 1)][static_cast<std::size_t>(row - 1)].Removed);
        }
    }
    EXPECT_TRUE(reader->text(QAccessible::Description).contains(QStringLiteral("Remain Hint(F4) : 8")));

    // Shown, the cursor is framed; a click hides it.
    walk(Qt::Key_Home);
    const TCell& at0 = form.Game().Board[0][static_cast<std::size_t>(at.second - 1)];
    EXPECT_EQ(at.first, 1);
    EXPECT_GT(framed(at0.X, at0.Y), form.Game().CellWidth / 2);
    QTest::mouseClick(draw, Qt::RightButton, {}, QPoint(at0.X + 10, at0.Y + 10));
    EXPECT_EQ(framed(at0.X, at0.Y), 0);
}

} // namespace
} // namespace pelmoravan
