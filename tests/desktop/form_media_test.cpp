// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "desktop/media/dx_timer.h"
#include "desktop/media/dxdraw.h"
#include "desktop/shell/form1.h"

namespace pelmoravan {
namespace {

TEST(MainWindowMedia, TheGameGetsTheLoadedCollectionsAndItsPlaySurface) {
    TForm1 form;
    TGame& g = form.Game();
    ASSERT_NE(g.ImageList, nullptr);
    ASSERT_NE(g.DXImageList1, nullptr);
    ASSERT_NE(g.BackImage, nullptr);
    EXPECT_EQ(g.ImageList->Count(), 100);
    EXPECT_EQ(g.DXImageList1->Find("LOGO").Width(), 400);
    EXPECT_EQ(g.BackImage->Count(), 10);
    EXPECT_EQ(form.DXWaveList1().Count(), 9);
    EXPECT_EQ(g.DXDraw, &form.Host().Draw());
    EXPECT_NE(g.DXInput, nullptr);
}

TEST(MainWindowMedia, FrameTimerRunsAtTheGamesInterval) {
    TForm1 form;
    TDXTimer& timer = form.DXTimer1();
    EXPECT_EQ(timer.Interval(), 100);
    EXPECT_TRUE(timer.ActiveOnly());
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(form.Game().TimerInterval, 100);
    form.EnableFrameTimer();
    EXPECT_TRUE(timer.Enabled());
}

TEST(MainWindowMedia, SpriteEngineAndClicksFollowTheShownSurface) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    TDXDraw* draw = form.DXDraw();
    const TSpriteEngine& root = *form.Game().DXSpriteEngine.Root();
    EXPECT_TRUE(root.SurfaceBound);
    EXPECT_EQ(root.Width, draw->SurfaceWidth());
    EXPECT_EQ(root.Height, draw->SurfaceHeight());
    EXPECT_GT(draw->SurfaceWidth(), 694); // the work area, not the design size

    QTest::mouseClick(draw, Qt::LeftButton, Qt::NoModifier, QPoint(123, 45));
    EXPECT_EQ(form.Game().MouseX, 123);
    EXPECT_EQ(form.Game().MouseY, 45);
    QTest::mouseClick(draw, Qt::RightButton, Qt::NoModifier, QPoint(7, 9));
    EXPECT_EQ(form.Game().MouseX, 7);
    EXPECT_EQ(form.Game().MouseY, 9);
}

} // namespace
} // namespace pelmoravan
