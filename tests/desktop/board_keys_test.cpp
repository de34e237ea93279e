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

// What a screen reader finds: the words of the board's focused cell, and each notice's words
// as it shows (the toolkit tells a reader of both only while one listens, so the test looks
// where the reader would).
class TEar final : public QObject {
public:
    explicit TEar(QWidget& board) : FBoard(board) { qApp->installEventFilter(this); }
    ~TEar() override { qApp->removeEventFilter(this); }

    // The focused cell's words, or nothing.
    QString Cell() const {
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&FBoard);
        QAccessibleInterface* cell = table != nullptr ? table->focusChild() : nullptr;
        return cell != nullptr ? cell->text(QAccessible::Name) : QString();
    }
    std::size_t Told() const { return FNotices.size(); }
    // The first notice from the mark on that holds these words, or nothing.
    QString Since(std::size_t mark, const QString& part) const {
        for (std::size_t i = mark; i < FNotices.size(); ++i) {
            if (FNotices[i].contains(part)) {
                return FNotices[i];
            }
        }
        return {};
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(watched);
            if (iface != nullptr && iface->role() == QAccessible::Notification) {
                FNotices.push_back(iface->text(QAccessible::Name));
            }
        }
        return false;
    }

private:
    QWidget& FBoard;
    std::vector<QString> FNotices;
};

// Plays the first pairs of an English game by keys alone, hearing only what a screen reader
// hears: the cells' words as the cursor's cell takes the focus, the outcomes as notices shown,
// and the play surface's description.
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
    TEar ear(*draw);
    auto heard = [&] { return ear.Cell(); };
    auto key = [&](Qt::Key k) {
        QTest::keyClick(draw, k);
        QCoreApplication::processEvents(); // the words come on the next turn of the loop
    };
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
    QCoreApplication::processEvents();
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
    std::size_t mark = 0;
    for (int pair = 0; pair < 2; ++pair) {
        const std::size_t asked = ear.Told();
        key(Qt::Key_F4);
        const QString hint = ear.Since(asked, QStringLiteral("hint: "));
        ASSERT_EQ(ear.Told(), asked + 1); // one F4, one hint
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
            if (t == 1) {
                mark = ear.Told();
            }
            key(Qt::Key_Space);
        }
        // One notice for the turn: the second tile selected, then the pair removed.
        const QString said = ear.Since(mark, QStringLiteral(" removed, "));
        EXPECT_TRUE(said.contains(QStringLiteral(" selected. two ")) &&
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

// Paused, the board is covered for a reader too: no cell to read, and the words shown before
// the pause (a hint's two cells) are taken down once the pause is told.
TEST(BoardKeys, APauseLeavesNothingOfTheBoardToRead) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.DXTimer1().Timer().OnTimer = nullptr;
    form.Host().MenuItem(TMenuItem::English1);
    // The notices a reader could read now: shown ones, by their words.
    auto readable = [&] {
        QStringList shown;
        for (QWidget* w : form.findChildren<QWidget*>()) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
            if (w->isVisible() && iface != nullptr && iface->role() == QAccessible::Notification) {
                shown << iface->text(QAccessible::Name);
            }
        }
        return shown.join(QStringLiteral("/"));
    };
    QTest::keyClick(&form, Qt::Key_F2);
    QTest::keyClick(form.DXDraw(), Qt::Key_F4);
    QCoreApplication::processEvents();
    ASSERT_TRUE(readable().contains(QStringLiteral("hint: "))) << readable().toStdString();
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(form.DXDraw());
    EXPECT_EQ(table->childCount(), 160);

    QTest::keyClick(form.DXDraw(), Qt::Key_F3);
    ASSERT_EQ(form.Game().GameState, TGameState::Paused);
    EXPECT_EQ(table->childCount(), 0);
    QCoreApplication::processEvents(); // the game told its pause
    EXPECT_EQ(readable(), QStringLiteral("paused"));
}

} // namespace
} // namespace pelmoravan
