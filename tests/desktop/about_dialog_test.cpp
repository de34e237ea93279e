// SPDX-License-Identifier: MIT
#include <QDesktopServices>
#include <QPointer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include "modal_helpers.h"
#include "desktop/shell/about_dialog.h"
#include "desktop/shell/link_label.h"
#include "desktop/shell/main_menu.h"
#include "shell/menu_dispatch.h"

namespace pelmoravan {
namespace {

// Stands in for the desktop: takes every address of its scheme.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl& url) { Opened.append(url); }
};

QColor TextColor(const QWidget* w) { return w->palette().color(QPalette::WindowText); }

TEST(AboutDialog, ShowsItsChineseTextsAtTheirPlaces) {
    TFormAbout about;
    about.ApplyTexts(AboutRequest());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("关于"));
    EXPECT_EQ(about.size(), QSize(302, 257));
    EXPECT_FALSE(about.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(about.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(about.Label1->text(), QStringLiteral("Pelmoravan"));
    EXPECT_TRUE(about.Label1->font().bold());
    EXPECT_EQ(about.Label2->text(), QStringLiteral("(Ver 2.2)"));
    EXPECT_EQ(about.Label5->text(), QStringLiteral("主页:"));
    EXPECT_EQ(about.Label6->text(), QStringLiteral("邮箱:"));
    EXPECT_EQ(about.Button1->text(), QStringLiteral("关闭"));
    EXPECT_EQ(about.Memo1->toPlainText(), QStringLiteral("玩法:\n"
                                                         "    将2个相同图片连接，连接线不超过3根\n"
                                                         "    直线，就可以成功消除这2个图片，全\n"
                                                         "    部图片消除后，完成。"));
    EXPECT_TRUE(about.Memo1->isReadOnly());
    EXPECT_EQ(about.RzURLLabel4->text(), QString::fromLatin1(TFormAbout::HomePage));
    EXPECT_EQ(about.RzURLLabel4->Link, QString::fromLatin1(TFormAbout::HomePage));
    EXPECT_EQ(about.RzURLLabel1->text(), QString::fromLatin1(TFormAbout::MailAddress));
    EXPECT_EQ(about.RzURLLabel1->Link, QStringLiteral("mailto:") + QString::fromLatin1(TFormAbout::MailAddress));
    EXPECT_EQ(about.Image1->geometry(), QRect(136, 8, 32, 32));
    EXPECT_EQ(about.Label1->geometry(), QRect(73, 50, 161, 16));
    EXPECT_EQ(about.Label5->geometry(), QRect(30, 90, 66, 15));
    EXPECT_EQ(about.RzURLLabel4->pos(), QPoint(101, 89));
    EXPECT_EQ(about.RzURLLabel1->pos(), QPoint(100, 113));
    EXPECT_EQ(about.Memo1->geometry(), QRect(27, 136, 262, 81));
    EXPECT_EQ(about.Button1->geometry(), QRect(208, 224, 75, 25));
    for (const TLinkLabel* link : {about.RzURLLabel4, about.RzURLLabel1}) {
        EXPECT_TRUE(link->font().underline());
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(TextColor(link), QColor(60, 60, 120));
        EXPECT_LE(link->geometry().right(), about.width()); // the address fits in the dialog
    }
}

TEST(AboutDialog, ALinkTurnsVisitedOnlyWhenTheDesktopTakesIt) {
    UrlCatcher desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &desktop, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &desktop, "Open");
    {
        TFormAbout about;
        about.ApplyTexts(AboutRequest());
        about.show();
        int clicks = 0;
        QObject::connect(about.RzURLLabel4, &TLinkLabel::Clicked, [&] { clicks += 1; });
        QTest::mouseClick(about.RzURLLabel4, Qt::LeftButton);
        EXPECT_EQ(clicks, 1);
        ASSERT_EQ(desktop.Opened.size(), 1);
        EXPECT_EQ(desktop.Opened[0], QUrl(QString::fromLatin1(TFormAbout::HomePage)));
        EXPECT_EQ(TextColor(about.RzURLLabel4), QColor(130, 95, 70));
        EXPECT_EQ(TextColor(about.RzURLLabel1), QColor(60, 60, 120));

        QTest::mouseClick(about.RzURLLabel1, Qt::LeftButton);
        ASSERT_EQ(desktop.Opened.size(), 2);
        EXPECT_EQ(desktop.Opened[1].toString(), QStringLiteral("mailto:pelmoravan@example.org"));
        EXPECT_TRUE(about.RzURLLabel1->Visited());
    }
    // A new dialog starts unvisited.
    TFormAbout again;
    again.ApplyTexts(AboutRequest());
    EXPECT_FALSE(again.RzURLLabel4->Visited());
    EXPECT_EQ(TextColor(again.RzURLLabel4), QColor(60, 60, 120));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
}

TEST(AboutDialog, AFailedOrEmptyTargetChangesNothing) {
    UrlCatcher desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &desktop, "Open");
    TLinkLabel link;
    link.setText(QStringLiteral("  http://pelmoravan.example/cn  "));
    link.Link = QStringLiteral("   ");
    link.Open(); // a blank target falls back to the caption, trimmed
    ASSERT_EQ(desktop.Opened.size(), 1);
    EXPECT_EQ(desktop.Opened[0], QUrl(QStringLiteral("http://pelmoravan.example/cn")));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

    TLinkLabel blank;
    blank.Open();
    EXPECT_FALSE(blank.Visited());

    // No desktop takes this one (the offscreen platform opens nothing by itself).
    TLinkLabel failing;
    failing.Link = QStringLiteral("nosuchscheme:index.htm");
    failing.Open();
    EXPECT_FALSE(failing.Visited());
    EXPECT_EQ(TextColor(&failing), QColor(60, 60, 120));
}

// The About command opens the box modal to the window without waiting for it; play goes on
// behind it, and Close ends it.
TEST(AboutDialog, AboutCommandOpensTheBoxOverTheWindowWhilePlayGoesOn) {
    pelmoravan::testing::WatchedForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.DXTimer1().SetEnabled(false);
    TGame& game = form.Game();
    game.StartGame(1);
    form.MainMenu1().Action(TMenuItem::about)->trigger();
    auto* about = pelmoravan::testing::ShownDialog<TFormAbout>(form);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("关于"));
    EXPECT_EQ(about->Label1->text(), QStringLiteral("Pelmoravan"));
    EXPECT_EQ(about->windowModality(), Qt::WindowModal);
    EXPECT_EQ(about->parentWidget(), &form);
    const std::int32_t seconds = game.ElapsedSeconds;
    for (int i = 0; i < 12; ++i) {
        pelmoravan::testing::Tick(form);
    }
    EXPECT_GT(game.ElapsedSeconds, seconds) << "the level clock stood still behind the About box";
    EXPECT_EQ(game.GameState, TGameState::Playing);
    const QPointer<TFormAbout> shown(about);
    about->Button1->click();
    ASSERT_TRUE(pelmoravan::testing::AllAnswered(form));
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.isNull(); })); // destroyed once closed
}

} // namespace
} // namespace pelmoravan

#include "about_dialog_test.moc"
