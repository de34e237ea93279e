#include <QDialogButtonBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "modal_helpers.h"
#include "desktop/shell/form1.h"
#include "desktop/shell/score_ui.h"
#include "desktop/shell/scores_dialog.h"
#include "core/lock_holder.h"
#include "shell/language_tables.h"

namespace pelmoravan {
namespace {

using pelmoravan::testing::OnNextModal;

TEST(ScoreListDialog, HasItsFixedLayoutAndTexts) {
    TfmScores dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("排名"));
    EXPECT_EQ(dialog.size(), QSize(234, 305));
    EXPECT_EQ(dialog.ListView1->geometry(), QRect(8, 8, 217, 257));
    ASSERT_EQ(dialog.ListView1->columnCount(), 3);
    const QTreeWidgetItem* header = dialog.ListView1->headerItem();
    EXPECT_EQ(header->text(0), QStringLiteral("名次"));
    EXPECT_EQ(header->text(1), QStringLiteral("姓名"));
    EXPECT_EQ(header->text(2), QStringLiteral("分数"));
    EXPECT_EQ(dialog.ListView1->columnWidth(0), 40);
    EXPECT_EQ(dialog.ListView1->columnWidth(1), 80);
    EXPECT_EQ(dialog.ListView1->columnWidth(2), 90);
    EXPECT_EQ(dialog.ListView1->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(dialog.Button1->text(), QStringLiteral("确定"));
    EXPECT_EQ(dialog.Button1->geometry(), QRect(80, 274, 75, 25));
}

TEST(ScoreListDialog, ListsAllTenRowsAndClosesWithOk) {
    TScoreEntries entries{};
    entries[0] = {"张三", 4200};
    entries[1] = {"Bob", 17};
    TfmScores dialog;
    dialog.Fill(entries);
    dialog.Fill(entries); // filling again starts from an empty list
    ASSERT_EQ(dialog.ListView1->topLevelItemCount(), 10);
    EXPECT_EQ(dialog.ListView1->topLevelItem(0)->text(0), QStringLiteral("1"));
    EXPECT_EQ(dialog.ListView1->topLevelItem(0)->text(1), QStringLiteral("张三"));
    EXPECT_EQ(dialog.ListView1->topLevelItem(0)->text(2), QStringLiteral("4200"));
    EXPECT_EQ(dialog.ListView1->topLevelItem(1)->text(1), QStringLiteral("Bob"));
    EXPECT_EQ(dialog.ListView1->topLevelItem(9)->text(0), QStringLiteral("10"));
    EXPECT_EQ(dialog.ListView1->topLevelItem(9)->text(1), QString());
    EXPECT_EQ(dialog.ListView1->topLevelItem(9)->text(2), QStringLiteral("0"));

    OnNextModal([&](QWidget*) { QTest::mouseClick(dialog.Button1, Qt::LeftButton); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
}

class ScoreUiTest : public ::testing::Test {
protected:
    std::string Path() const { return Dir.filePath(QStringLiteral("Pelmoravan.sco")).toStdString(); }
    QTemporaryDir Dir;
};

TEST_F(ScoreUiTest, NamePromptShowsItsTextsAndCancelGivesNothing) {
    TQtScoreUi ui;
    QString caption, label, preset;
    OnNextModal([&](QWidget* modal) {
        auto* input = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(input, nullptr);
        caption = input->windowTitle();
        label = input->labelText();
        preset = input->textValue();
        input->setTextValue(QStringLiteral("王小明"));
        input->accept();
    });
    EXPECT_EQ(ui.InputName("No.3", "Please Input Your Name:", "Default User"), std::optional<std::string>("王小明"));
    EXPECT_EQ(caption, QStringLiteral("No.3"));
    EXPECT_EQ(label, QStringLiteral("Please Input Your Name:"));
    EXPECT_EQ(preset, QStringLiteral("Default User"));

    OnNextModal([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_EQ(ui.InputName("No.1", "Please Input Your Name:", "Default User"), std::nullopt);
}

TEST_F(ScoreUiTest, AScoreIsRecordedUnderTheNameAndListed) {
    ASSERT_TRUE(UpdateScoresInWindow(nullptr, false, -1, Path()));
    QString listedName;
    OnNextModal([&](QWidget* modal) {
        auto* input = qobject_cast<QInputDialog*>(modal);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->windowTitle(), QStringLiteral("No.1"));
        input->setTextValue(QStringLiteral("Ann"));
        input->accept();
        OnNextModal([&](QWidget* list) {
            auto* scores = qobject_cast<TfmScores*>(list);
            ASSERT_NE(scores, nullptr);
            listedName = scores->ListView1->topLevelItem(0)->text(1);
            scores->Button1->click();
        });
    });
    EXPECT_TRUE(UpdateScoresInWindow(nullptr, true, 1234, Path()));
    EXPECT_EQ(listedName, QStringLiteral("Ann"));
    std::ifstream in(Path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 593u);
    EXPECT_EQ(bytes.substr(33, 4), std::string("\x03" "Ann"));
}

// Another copy holds the lock: the window's timers keep firing, the box comes up, and its
// Cancel gives up the record with a second box saying so, in the window's language.
TEST_F(ScoreUiTest, ALockHeldElsewhereShowsABoxWhoseCancelGivesUpTheRecord) {
    ASSERT_TRUE(UpdateScoresInWindow(nullptr, false, -1, Path()));
    std::ifstream before(Path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(before)), std::istreambuf_iterator<char>());
    LockHolder holder(Path());
    int ticks = 0;
    int ticksBeforeBox = -1;
    QTimer frame;
    QObject::connect(&frame, &QTimer::timeout, [&] { ticks += 1; });
    frame.start(100);
    QString busy;
    QString told;
    OnNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        ticksBeforeBox = ticks;
        busy = box->text();
        OnNextModal([&](QWidget* second) {
            told = qobject_cast<QMessageBox*>(second)->text();
            qobject_cast<QMessageBox*>(second)->accept();
        });
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_TRUE(UpdateScoresInWindow(nullptr, true, 1234, Path(), 1));
    EXPECT_GE(ticksBeforeBox, 8); // the loop ran while the lock was tried
    EXPECT_EQ(busy, QString::fromUtf8(EnglishControlTexts.ScoreFileBusy));
    EXPECT_EQ(told, QString::fromUtf8(EnglishControlTexts.ScoreNotRecorded));
    std::ifstream after(Path(), std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()), bytes);
}

// Before the box shows, Esc in the window ends the game as on any screen, and the wait with it.
TEST_F(ScoreUiTest, EscWhileTheLockIsWaitedForEndsTheGame) {
    class CountedEnds final : public TForm1 {
    public:
        using TForm1::TForm1;
        void Terminate() override { Ends += 1; }
        int Ends = 0;
    };
    TStartOptions options;
    options.DataDir = Dir.path().toStdString();
    ASSERT_TRUE(TGameHost::CheckScoreFile(options.ScorePath(), [](const std::string&) {}));
    CountedEnds form(options);
    form.UpdateScores(false, -1);
    LockHolder holder(Path());
    QTimer::singleShot(300, &form, [&form] { form.Host().Keys().Press(TKey::Escape); });
    form.UpdateScores(true, 1234); // without Esc read, the box would wait here for an answer
    EXPECT_EQ(form.Ends, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ScoreUiTest, AFileErrorInTheGameIsShownAndTheGameGoesOn) {
    ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("Pelmoravan.sco")));
    QString text;
    OnNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        box->accept();
    });
    EXPECT_FALSE(UpdateScoresInWindow(nullptr, true, -1, Path()));
    EXPECT_EQ(text, QString::fromStdString("Cannot open file \"" + Path() + "\". Is a directory"));
}

// On the offscreen platform the tests run on, nobody could see or close a box: the start-up
// error is its line alone (a box would be caught and closed here, and fail the test).
TEST_F(ScoreUiTest, AStartUpErrorOffscreenIsToldOnStandardErrorWithoutABox) {
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

    EXPECT_TRUE(CheckScoreFileAtStartup(Path()));
    EXPECT_EQ(QFileInfo(QString::fromStdString(Path())).size(), 593);
}

} // namespace
} // namespace pelmoravan
