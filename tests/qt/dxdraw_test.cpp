#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "media/qt/dxdraw.h"
#include "media/qt/keyboard_state.h"

namespace pelmoravan {
namespace {

TEST(PlaySurface, SurfaceFollowsTheWidgetsSize) {
    TDXDraw draw;
    QSignalSpy resized(&draw, &TDXDraw::SurfaceResized);
    draw.resize(320, 200);
    draw.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&draw));
    EXPECT_EQ(draw.Surface().Width(), 320);
    EXPECT_EQ(draw.Surface().Height(), 200);
    EXPECT_TRUE(draw.CanDraw());
    ASSERT_GE(resized.count(), 1);
    EXPECT_EQ(resized.last().at(0).toInt(), 320);
    EXPECT_EQ(resized.last().at(1).toInt(), 200);
    draw.resize(100, 80);
    QCoreApplication::processEvents();
    EXPECT_EQ(draw.Surface().Width(), 100);
    EXPECT_EQ(draw.Surface().Height(), 80);
}

TEST(PlaySurface, FlipShowsWhatChangedAndKeepsItForRepaints) {
    TDXDraw draw;
    draw.resize(100, 80);
    draw.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&draw));
    ICanvas& canvas = draw.Surface().Canvas();
    canvas.SetBrushColor(255);
    canvas.FillRect({10, 20, 30, 25});
    // Drawn but not flipped: the window still shows black.
    EXPECT_EQ(draw.Presented().pixel(10, 20), qRgb(0, 0, 0));
    draw.Flip();
    EXPECT_FALSE(draw.QtSurface().Painting()); // the canvas was given back
    EXPECT_EQ(draw.LastFlipDirty(), QRect(10, 20, 20, 5));
    EXPECT_EQ(draw.Presented().pixel(10, 20), qRgb(255, 0, 0));
    EXPECT_EQ(draw.Presented(), draw.QtSurface().Image());
    draw.Flip();
    EXPECT_TRUE(draw.LastFlipDirty().isEmpty());
    // What the widget paints is the flipped frame.
    const QImage shown = draw.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(12, 22), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(50, 50), qRgb(0, 0, 0));
}

TEST(PlaySurface, ChangedRectBoundsEveryDifference) {
    QImage a(50, 40, QImage::Format_ARGB32_Premultiplied);
    a.fill(Qt::black);
    QImage b = a.copy();
    EXPECT_TRUE(ChangedRect(a, b).isEmpty());
    b.setPixel(3, 30, qRgb(1, 0, 0));
    b.setPixel(45, 5, qRgb(0, 0, 1));
    EXPECT_EQ(ChangedRect(a, b), QRect(QPoint(3, 5), QPoint(45, 30)));
    b = a.copy();
    b.setPixel(49, 39, qRgb(1, 1, 1));
    EXPECT_EQ(ChangedRect(a, b), QRect(49, 39, 1, 1));
    b = a.copy();
    b.setPixel(0, 0, qRgb(1, 1, 1));
    EXPECT_EQ(ChangedRect(a, b), QRect(0, 0, 1, 1));
    EXPECT_EQ(ChangedRect(a, QImage(10, 10, QImage::Format_ARGB32_Premultiplied)),
              QRect(0, 0, 10, 10));
}

TEST(PlaySurface, ChangedRectMatchesAPixelByPixelSearch) {
    // Widths that are and are not whole blocks of the fast search, differences anywhere.
    std::uint32_t seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    for (int round = 0; round < 300; ++round) {
        const int w = 1 + next(130);
        const int h = 1 + next(20);
        QImage a(w, h, QImage::Format_ARGB32_Premultiplied);
        a.fill(qRgb(9, 9, 9));
        QImage b = a.copy();
        QRect expected;
        for (int k = next(4); k > 0; --k) {
            const QPoint p(next(w), next(h));
            b.setPixel(p, qRgb(10, 9, 9));
            expected = expected.united(QRect(p, QSize(1, 1)));
        }
        EXPECT_EQ(ChangedRect(a, b), expected) << w << "x" << h << " round " << round;
    }
}

TEST(PlaySurface, MouseDownArrivesInSurfaceCoordinates) {
    QWidget window;
    window.resize(200, 150);
    auto* draw = new TDXDraw(&window);
    draw->setGeometry(0, 30, 200, 120); // below a menu-like band, as in the main window
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy down(draw, &TDXDraw::MouseDown);
    QTest::mousePress(draw, Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
    QTest::mousePress(draw, Qt::RightButton, Qt::NoModifier, QPoint(199, 0));
    ASSERT_EQ(down.count(), 2);
    EXPECT_EQ(down.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_EQ(down.at(0).at(1).toInt(), 30);
    EXPECT_EQ(down.at(0).at(2).toInt(), 40);
    EXPECT_EQ(down.at(1).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(down.at(1).at(1).toInt(), 199);
    EXPECT_EQ(down.at(1).at(2).toInt(), 0);
}

struct KeyWindow : ::testing::Test {
    QWidget window;
    QWidget* child = new QWidget(&window);
    TKeyboardState keys{&window};
    void SetUp() override {
        child->setFocusPolicy(Qt::StrongFocus);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        child->setFocus();
    }
};

TEST_F(KeyWindow, AKeyIsDownFromThePollThatSeesItUntilThePollThatSeesItReleased) {
    QTest::keyPress(child, Qt::Key_Escape);
    EXPECT_FALSE(keys.KeyDown(TKey::Escape)); // not polled yet
    keys.Poll();
    EXPECT_TRUE(keys.KeyDown(TKey::Escape));
    EXPECT_FALSE(keys.KeyDown(TKey::F9));
    QTest::keyRelease(child, Qt::Key_Escape);
    EXPECT_TRUE(keys.KeyDown(TKey::Escape)); // until the next poll
    keys.Poll();
    EXPECT_FALSE(keys.KeyDown(TKey::Escape));
}

TEST_F(KeyWindow, ATapBetweenTwoPollsCountsForOnePoll) {
    QTest::keyClick(child, Qt::Key_F9);
    keys.Poll();
    EXPECT_TRUE(keys.KeyDown(TKey::F9));
    keys.Poll();
    EXPECT_FALSE(keys.KeyDown(TKey::F9));
}

TEST_F(KeyWindow, KeysOfOtherWindowsDoNotCount) {
    QWidget dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    keys.Poll();
    EXPECT_FALSE(keys.KeyDown(TKey::Escape));
    // Keys that reach the window itself count as well as those of its children.
    QTest::keyPress(&window, Qt::Key_F9);
    keys.Poll();
    EXPECT_TRUE(keys.KeyDown(TKey::F9));
}

TEST_F(KeyWindow, LosingActivationLetsGoOfHeldKeys) {
    QTest::keyPress(child, Qt::Key_F9);
    keys.Poll();
    ASSERT_TRUE(keys.KeyDown(TKey::F9));
    // The release will go to whatever window takes over (a save dialog, say).
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&window, &deactivate);
    keys.Poll();
    EXPECT_FALSE(keys.KeyDown(TKey::F9));
}

TEST_F(KeyWindow, AutoRepeatNeitherPressesNorReleases) {
    QTest::keyPress(child, Qt::Key_Escape);
    keys.Poll();
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(child, &repeatRelease);
    keys.Poll();
    EXPECT_TRUE(keys.KeyDown(TKey::Escape));
}

} // namespace
} // namespace pelmoravan
