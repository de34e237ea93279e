#pragma once
#include <QDialog>

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

    // Built with the texts of its design (English); aboutClick relabels it in Chinese.
    explicit TFormAbout(QWidget* owner = nullptr);

    // The Chinese texts the player always sees, whatever the interface language.
    void ApplyShownTexts();

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

// The About command: a new dialog owned by the window, relabelled, shown modally, destroyed.
void aboutClick(QWidget* window);

} // namespace pelmoravan
