// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "desktop/media/dxdraw.h"
#include "desktop/shell/form1.h"

namespace pelmoravan {
namespace {

TEST(MainWindow, OpensOverTheWorkAreaWithItsCaption) {
    TForm1 form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Pelmoravan v2.2"));
    const QRect area = form.screen()->availableGeometry();
    EXPECT_EQ(form.frameGeometry().size(), area.size());
    EXPECT_EQ(form.frameGeometry().topLeft(), area.topLeft());
    // Not resizable, no maximise button.
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    // The play surface fills the client area and its surface follows it.
    TDXDraw* draw = form.DXDraw();
    EXPECT_EQ(draw->size(), form.centralWidget()->size());
    EXPECT_EQ(draw->SurfaceWidth(), draw->width());
    EXPECT_EQ(draw->SurfaceHeight(), draw->height());
}

} // namespace
} // namespace pelmoravan
