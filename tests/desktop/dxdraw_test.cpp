// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "desktop/media/dxdraw.h"
#include "desktop/media/keyboard_state.h"
#include "desktop/shown_draw.h"

namespace pelmoravan {
namespace {

TEST(PlaySurface, SurfaceFollowsTheWidgetsSize) {
    TDXDraw draw;
    QSignalSpy resized(&draw, &TDXDraw::SurfaceResized);
    draw.resize(320, 200);
    draw.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&draw));
    EXPECT_EQ(draw.Pixels().Width(), 320);
    EXPECT_EQ(draw.Pixels().Height(), 200);
    EXPECT_TRUE(draw.CanDraw());
    ASSERT_GE(resized.count(), 1);
    EXPECT_EQ(resized.last().at(0).toInt(), 320);
    EXPECT_EQ(resized.last().at(1).toInt(), 200);
    draw.resize(100, 80);
    QCoreApplication::processEvents();
    EXPECT_EQ(draw.Pixels().Width(), 100);
    EXPECT_EQ(draw.Pixels().Height(), 80);
}

TEST(PlaySurface, FlipSendsTheChangedBlocksAndRepaintsShowTheFrame) {
    TDXDraw draw;
    draw.resize(100, 80);
    draw.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&draw));
    testing::TShownDraw shown(draw);
    ISurface& surface = shown.Surface();
    ICanvas& canvas = surface.Canvas();
    auto frame = [&](bool blue) {
        surface.Fill(0);
        canvas.SetBrushColor(255);
        canvas.FillRect({10, 20, 30, 25});
        if (blue) {
            canvas.SetBrushColor(0xFF0000);
            canvas.FillRect({60, 60, 70, 70});
        }
    };
    auto flip = [&] { return shown.Flip(); };
    frame(false);
    EXPECT_EQ(flip(), QRegion(0, 0, 100, 80)); // a new surface is sent whole
    EXPECT_FALSE(draw.QtPixels().Painting()); // the painter was given back
    frame(false);
    EXPECT_TRUE(flip().isEmpty());
    frame(true);
    EXPECT_EQ(flip(), QRegion(0, 32, 100, 48)); // the blocks under the change only
    const QImage image = draw.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(12, 22), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(62, 62), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(50, 10), qRgb(0, 0, 0));
    // A repaint in the middle of a frame shows half of it; when the frame ends as the last one
    // did, what the repaint showed must still be sent again.
    surface.Fill(0);
    draw.repaint();
    frame(true);
    EXPECT_EQ(flip(), QRegion(0, 0, 100, 80));
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

// A window made smaller than the size it was fitted to (a tiling window manager, say) keeps the
// surface at the fitted size and shows all of it scaled down, centred between black bars; a
// click lands on the surface pixel under it, and a click on a bar on nothing.
TEST(PlaySurface, ASmallerWindowShowsTheWholeSurfaceScaledAndMapsClicksBack) {
    TDXDraw draw;
    QSignalSpy resized(&draw, &TDXDraw::SurfaceResized);
    draw.resize(400, 300);
    draw.SetFittedWindowSize(QSize(400, 300));
    draw.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&draw));
    EXPECT_FALSE(draw.Scaled());

    draw.resize(300, 150); // half the height, three quarters of the width
    QCoreApplication::processEvents();
    EXPECT_EQ(draw.Pixels().Width(), 400);
    EXPECT_EQ(draw.Pixels().Height(), 300);
    EXPECT_EQ(resized.last().at(0).toInt(), 400);
    EXPECT_EQ(draw.Shown(), QRect(50, 0, 200, 150));

    testing::TShownDraw shown(draw);
    ISurface& surface = shown.Surface();
    surface.Fill(0);
    surface.Canvas().SetBrushColor(255);
    surface.Canvas().FillRect({200, 100, 400, 300}); // the bottom-right quarter, red
    shown.Flip();
    draw.repaint();
    const QImage image = draw.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(200, 100), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(245, 145), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(100, 20), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(290, 140), qRgb(0, 0, 0)); // the bar on the right
    EXPECT_EQ(draw.SurfaceToWidget(QRect(200, 100, 200, 200)), QRect(150, 50, 100, 100));

    QSignalSpy down(&draw, &TDXDraw::MouseDown);
    QTest::mousePress(&draw, Qt::LeftButton, Qt::NoModifier, QPoint(150, 75));
    QTest::mousePress(&draw, Qt::RightButton, Qt::NoModifier, QPoint(249, 149));
    QTest::mousePress(&draw, Qt::LeftButton, Qt::NoModifier, QPoint(20, 75)); // on the left bar
    ASSERT_EQ(down.count(), 2);
    EXPECT_EQ(down.at(0).at(1).toInt(), 200);
    EXPECT_EQ(down.at(0).at(2).toInt(), 150);
    EXPECT_EQ(down.at(1).at(1).toInt(), 398);
    EXPECT_EQ(down.at(1).at(2).toInt(), 298);

    // Given its fitted size back, the surface shows one to one again.
    draw.resize(400, 300);
    QCoreApplication::processEvents();
    EXPECT_FALSE(draw.Scaled());
    QTest::mousePress(&draw, Qt::LeftButton, Qt::NoModifier, QPoint(20, 75));
    ASSERT_EQ(down.count(), 3);
    EXPECT_EQ(down.at(2).at(1).toInt(), 20);
}

struct KeyWindow : ::testing::Test {
    QWidget window;
    QWidget* child = new QWidget(&window);
    TKeyLatch keys;
    TKeyboardState feed{&window, keys};
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
