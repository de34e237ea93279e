// SPDX-License-Identifier: MIT
#include <QAbstractButton>
#include <QMessageBox>
#include <QTranslator>
#include <gtest/gtest.h>

#include <memory>

#include "desktop/shell/qt_translations.h"

namespace pelmoravan {
namespace {

// The texts Qt itself gives the Yes and No buttons of a message box.
QStringList QuestionButtons() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Pelmoravan"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    return {box.button(QMessageBox::Yes)->text(), box.button(QMessageBox::No)->text()};
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
