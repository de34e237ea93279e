// SPDX-License-Identifier: MIT
#pragma once
#include <QDialog>

#include "ports/requests.h"
#include "shell/dialog_texts.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace pelmoravan {

class TLinkLabel;

// The About box: title, version, the project's web and mail links, how to play.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* HomePage = AboutHomePage;
    static constexpr const char* MailAddress = AboutMailAddress;

    // Built with the texts of its design (English); the game's About request relabels it.
    explicit TFormAbout(QWidget* owner = nullptr);

    // The texts of an About request: its caption, its button, and its Lines in order (title,
    // version, home label, home address, mail label, mail address, how to play).
    void ApplyTexts(const TRequest& about);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label5 = nullptr;
    TLinkLabel* RzURLLabel4 = nullptr;
    QLabel* Label6 = nullptr;
    TLinkLabel* RzURLLabel1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* Button1 = nullptr;

    void Button1Click();
};

} // namespace pelmoravan
