#include <QAbstractButton>
#include <QMessageBox>
#include <QTranslator>
#include <gtest/gtest.h>

#include <memory>

#include "desktop/modal_helpers.h"
#include "desktop/shell/qt_translations.h"

namespace pelmoravan {
namespace {

// The texts of the Yes and No buttons of a question shown as the game shows it.
QStringList QuestionButtons() {
    QStringList texts;
    testing::OnNextModal([&texts](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box != nullptr) {
            texts << box->button(QMessageBox::Yes)->text() << box->button(QMessageBox::No)->text();
        }
        modal->close();
    });
    QMessageBox::question(nullptr, QStringLiteral("Pelmoravan"), QStringLiteral("?"),
                          QMessageBox::Yes | QMessageBox::No);
    return texts;
}

TEST(QtTranslations, QtsOwnButtonsFollowTheLocale) {
    {
        const std::unique_ptr<QTranslator> chinese(
            InstallQtTranslations(QLocale(QLocale::Chinese, QLocale::China)));
        ASSERT_NE(chinese, nullptr) << "Qt's Chinese translation is not installed";
        EXPECT_EQ(QuestionButtons(), (QStringList{QStringLiteral("是(&Y)"), QStringLiteral("否(&N)")}));
    }
    // Removed with the translator; a locale Qt has no catalogue for keeps Qt's English.
    EXPECT_EQ(InstallQtTranslations(QLocale::c()), nullptr);
    EXPECT_EQ(QuestionButtons(), (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No")}));
}

} // namespace
} // namespace pelmoravan
