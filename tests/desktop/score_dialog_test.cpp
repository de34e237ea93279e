// SPDX-License-Identifier: MIT
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <memory>

#include "core/lock_holder.h"
#include "desktop/shell/main_menu.h"
#include "desktop/shell/score_ui.h"
#include "desktop/shell/scores_dialog.h"
#include "modal_helpers.h"
#include "shell/language_tables.h"
#include "shell/score_file.h"

namespace pelmoravan {
namespace {

using namespace pelmoravan::testing;

// The main window in a fresh working directory, its score file checked, the frame timer still:
// the test ticks by hand.
class ScoreDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Dir.isValid());
        Previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(Dir.path()));
    }
    void TearDown() override {
        Form.reset();
        QDir::setCurrent(Previous);
    }
    void MakeForm() {
        ASSERT_TRUE(TGameHost::CheckScoreFile(ScoreFileName, [](const std::string&) {}));
        Form = std::make_unique<WatchedForm>();
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        Form->DXTimer1().SetEnabled(false);
    }
    void Sequence() { Form->MainMenu1().Action(TMenuItem::N2)->trigger(); }

    QTemporaryDir Dir;
    QString Previous;
    std::unique_ptr<WatchedForm> Form;
};

// Sequence shows the file's ten rows in the list's fixed layout and texts, modal to the window,
// without waiting for it; OK closes it and the menu works again.
TEST_F(ScoreDialogs, SequenceListsTheTenRowsInTheFixedLayoutAndOkClosesIt) {
    MakeForm();
    Sequence();
    auto* dialog = ShownDialog<TfmScores>(*Form);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("排名"));
    EXPECT_EQ(dialog->size(), QSize(234, 305));
    EXPECT_EQ(dialog->ListView1->geometry(), QRect(8, 8, 217, 257));
    ASSERT_EQ(dialog->ListView1->columnCount(), 3);
    const QTreeWidgetItem* header = dialog->ListView1->headerItem();
    EXPECT_EQ(header->text(0), QStringLiteral("名次"));
    EXPECT_EQ(header->text(1), QStringLiteral("姓名"));
    EXPECT_EQ(header->text(2), QStringLiteral("分数"));
    EXPECT_EQ(dialog->ListView1->columnWidth(0), 40);
    EXPECT_EQ(dialog->ListView1->columnWidth(1), 80);
    EXPECT_EQ(dialog->ListView1->columnWidth(2), 90);
    EXPECT_EQ(dialog->ListView1->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(dialog->Button1->text(), QStringLiteral("确定"));
    EXPECT_EQ(dialog->Button1->geometry(), QRect(80, 274, 75, 25));
    ASSERT_EQ(dialog->ListView1->topLevelItemCount(), 10);
    EXPECT_EQ(dialog->ListView1->topLevelItem(0)->text(0), QStringLiteral("1"));
    EXPECT_EQ(dialog->ListView1->topLevelItem(9)->text(0), QStringLiteral("10"));
    EXPECT_EQ(dialog->ListView1->topLevelItem(9)->text(2), QStringLiteral("0"));

    // No menu item runs while the list is open.
    Sequence();
    EXPECT_EQ(Form->ShownRequest(), dialog);
    QTest::mouseClick(dialog->Button1, Qt::LeftButton);
    ASSERT_TRUE(AllAnswered(*Form));
    Sequence();
    EXPECT_NE(ShownDialog<TfmScores>(*Form), nullptr);
}

// Another copy holds the lock: the busy box shows after a second of ticks and goes by itself,
// unanswered, once the lock comes free, and the list follows. Before the box shows, Esc ends the
// program as on any screen.
TEST_F(ScoreDialogs, ABusyBoxGoesByItselfWhenTheLockComesFreeAndEscBeforeItEndsTheProgram) {
    MakeForm();
    LockHolder holder(ScoreFileName);
    Sequence();
    int ticks = 0;
    while (Form->ShownRequest() == nullptr && ticks < 30) {
        Tick(*Form);
        ticks += 1;
    }
    auto* busy = ShownDialog<QMessageBox>(*Form, 0);
    ASSERT_NE(busy, nullptr);
    EXPECT_GE(ticks, 9);
    EXPECT_LE(ticks, 11);
    EXPECT_EQ(busy->text(), QString::fromUtf8(ChineseControlTexts.ScoreFileBusy));
    holder.LetGo();
    // The lock is free once the holder's processes are gone; each tick tries it.
    ASSERT_TRUE(QTest::qWaitFor([&] {
        Tick(*Form);
        return ShownDialog<TfmScores>(*Form, 0) != nullptr;
    })) << "the box stayed although the lock came free";
    auto* list = ShownDialog<TfmScores>(*Form);
    ASSERT_NE(list, nullptr);
    list->Button1->click();
    ASSERT_TRUE(AllAnswered(*Form));
    EXPECT_TRUE(Form->ExitCodes.empty());

    LockHolder again(ScoreFileName);
    Sequence();
    Tick(*Form);
    Form->Host().Keys().Press(TKey::Escape);
    Tick(*Form);
    ASSERT_FALSE(Form->ExitCodes.empty());
    EXPECT_EQ(Form->ExitCodes[0], 0);
    for (int i = 0; i < 15; ++i) {
        Tick(*Form);
    }
    EXPECT_EQ(Form->ShownRequest(), nullptr) << "the box showed after the program was asked to end";
}

// A score file that cannot be read shows its error in a critical box; the window goes on.
TEST_F(ScoreDialogs, AFileErrorFromTheMenuIsShownAndTheWindowGoesOn) {
    MakeForm();
    ASSERT_TRUE(QFile::remove(QString::fromLatin1(ScoreFileName)));
    ASSERT_TRUE(QDir().mkdir(QString::fromLatin1(ScoreFileName)));
    Sequence();
    auto* box = ShownDialog<QMessageBox>(*Form);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_TRUE(box->text().startsWith(QStringLiteral("Cannot open file \"Pelmoravan.sco\".")));
    box->button(QMessageBox::Ok)->click();
    ASSERT_TRUE(AllAnswered(*Form));
    EXPECT_TRUE(Form->isEnabled());
    EXPECT_TRUE(Form->ExitCodes.empty());
}

// On the offscreen platform the tests run on, nobody could see or close a box: the start-up
// error is its line alone (a box would be caught and closed here, and fail the test).
TEST_F(ScoreDialogs, AStartUpErrorOffscreenIsToldOnStandardErrorWithoutABox) {
    // A file where its folder should be: no folder can be made there.
    QFile plain(Dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const std::string missing = Dir.filePath(QStringLiteral("plain/Pelmoravan.sco")).toStdString();
    QString text;
    OnNextModal([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            text = box->text();
        }
        modal->close();
    });
    ::testing::internal::CaptureStderr();
    const bool ok = CheckScoreFileAtStartup(missing);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(ok);
    const std::string message = "Cannot create file \"" + missing + "\". Not a directory";
    EXPECT_EQ(text, QString());
    // The offscreen platform may add notes of its own after our line.
    EXPECT_EQ(err.substr(0, err.find('\n') + 1), "pelmoravan: " + message + "\n");

    const std::string fine = Dir.filePath(QStringLiteral("Pelmoravan.sco")).toStdString();
    EXPECT_TRUE(CheckScoreFileAtStartup(fine));
    EXPECT_EQ(QFileInfo(QString::fromStdString(fine)).size(), 593);
}

} // namespace
} // namespace pelmoravan
