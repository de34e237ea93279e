// SPDX-License-Identifier: MIT
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "desktop/audio/game_audio.h"
#include "desktop/audio/sdl_audio.h"
#include "desktop/shell/main_menu.h"
#include "modal_helpers.h"
#include "shell/language_tables.h"

namespace pelmoravan {
namespace {

using namespace pelmoravan::testing;

class Requests : public ::testing::Test {
protected:
    void SetUp() override {
        Form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
        Form.DXTimer1().SetEnabled(false);
        // The sound device is looked for on a thread of its own, with standard error sent
        // nowhere meanwhile: what these tests read there comes after.
        Form.Audio().DXSound1().WaitStartUpOver();
    }
    WatchedForm Form;
};

// An error while another shows waits for its turn and is on standard error at once; each box
// is answered once, whether its button, Esc or its close button ended it, and the house hears
// of it only on a later turn.
TEST_F(Requests, AnErrorWhileAnErrorShowsIsQueuedToldOnStandardErrorAndShownInTurn) {
    ::testing::internal::CaptureStderr();
    Form.Host().ReportError("Image 'logo' not found");
    Form.Host().ReportError("Wave 'Alert ' not found");
    const std::string told = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("pelmoravan: Image 'logo' not found\n"), std::string::npos);
    EXPECT_NE(told.find("pelmoravan: Wave 'Alert ' not found\n"), std::string::npos);

    ::testing::internal::CaptureStderr();
    auto* first = ShownDialog<QMessageBox>(Form);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(), QStringLiteral("Image 'logo' not found"));
    EXPECT_EQ(first->icon(), QMessageBox::Critical);
    EXPECT_EQ(first->windowTitle(), Form.windowTitle());
    EXPECT_EQ(first->button(QMessageBox::Ok)->text(), QString::fromUtf8(ChineseControlTexts.Ok));
    EXPECT_EQ(first->windowModality(), Qt::WindowModal);
    EXPECT_EQ(first->parentWidget(), &Form);
    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_EQ(Form.ShownRequest(), nullptr);
    EXPECT_TRUE(Form.Host().RequestOpen()) << "answered from inside the dialog's own signal";

    auto* second = ShownDialog<QMessageBox>(Form);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->text(), QStringLiteral("Wave 'Alert ' not found"));
    second->close(); // the close button
    ASSERT_TRUE(AllAnswered(Form));
    Form.Host().ReportError("again");
    auto* third = ShownDialog<QMessageBox>(Form);
    ASSERT_NE(third, nullptr);
    third->button(QMessageBox::Ok)->click();
    ASSERT_TRUE(AllAnswered(Form));
    EXPECT_EQ(::testing::internal::GetCapturedStderr().find("was ignored"), std::string::npos)
        << "a dialog was answered twice";
}

// F9 opens the save dialog, modal to the window; whatever name is chosen, nothing is saved, and
// the key held on opens no second one.
TEST_F(Requests, F9OpensTheSaveDialogOnceAndNothingIsSaved) {
    QTemporaryDir dir;
    Form.Host().Keys().Press(TKey::F9);
    Tick(Form);
    auto* save = ShownDialog<QFileDialog>(Form);
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(save->windowModality(), Qt::WindowModal);
    Tick(Form);
    EXPECT_EQ(Form.ShownRequest(), save);
    save->setDirectory(dir.path());
    save->selectFile(dir.filePath(QStringLiteral("game.sav")));
    QMetaObject::invokeMethod(save, "accept"); // the Save button
    ASSERT_TRUE(AllAnswered(Form));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    Tick(Form); // still held: no fresh press
    EXPECT_EQ(Form.ShownRequest(), nullptr);
    Form.Host().Keys().Release(TKey::F9);
}

// A start that failed shows its error, over the window once it shows when it came before;
// once it is closed the program ends with exit code 1, and nothing reaches the game any more.
TEST(StartError, ShownOverTheWindowAndClosingItEndsTheProgramWithCodeOne) {
    WatchedForm form;
    form.DXTimer1().SetEnabled(false);
    ::testing::internal::CaptureStderr();
    form.Host().ReportStartError("Cannot write file \"back.MID\". Read-only file system");
    ASSERT_NE(form.ShownRequest(), nullptr);
    EXPECT_FALSE(form.ShownRequest()->isVisible()) << "opened before its window";
    form.show();
    auto* box = ShownDialog<QMessageBox>(form);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->text(), QStringLiteral("Cannot write file \"back.MID\". Read-only file system"));
    EXPECT_TRUE(form.ExitCodes.empty());
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form.ExitCodes.empty(); }));
    EXPECT_EQ(form.ExitCodes, std::vector<int>{1});
    form.MainMenu1().Action(TMenuItem::N2)->trigger();
    Tick(form);
    QCoreApplication::processEvents();
    EXPECT_EQ(form.ShownRequest(), nullptr);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("pelmoravan: Cannot write file \"back.MID\". Read-only file system\n", 0), 0u);
}

} // namespace
} // namespace pelmoravan
