// SPDX-License-Identifier: MIT
#include "desktop/shell/about_dialog.h"

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

#include "desktop/shell/link_label.h"

namespace pelmoravan {
namespace {

// Two matching tiles, drawn in colours of the old 16-colour palette.
QPixmap AboutIcon() {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    for (int i = 0; i < 2; ++i) {
        const QRect tile(2 + i * 15, 4 + i * 6, 13, 20);
        p.fillRect(tile, QColor(255, 255, 255));
        p.setPen(QColor(0, 0, 128));
        p.drawRect(tile.adjusted(0, 0, -1, -1));
        p.fillRect(tile.adjusted(3, 4, -3, -10), QColor(255, 0, 0));
        p.fillRect(tile.adjusted(3, 11, -3, -4), QColor(0, 128, 0));
    }
    p.setPen(QColor(255, 255, 0));
    p.drawLine(8, 28, 23, 28);
    return QPixmap::fromImage(image);
}

// Positions are the design's; a text that needs more room than its box gets it.
void Place(QWidget* widget, int x, int y, int width, int height) {
    const QSize hint = widget->sizeHint();
    widget->setGeometry(x, y, std::max(width, hint.width()), std::max(height, hint.height()));
}

} // namespace

TFormAbout::TFormAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(302, 257);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    setFont(font);

    Image1 = new QLabel(this);
    Image1->setPixmap(AboutIcon());
    Image1->setGeometry(136, 8, 32, 32);

    Label1 = new QLabel(QStringLiteral("Pelmoravan"), this);
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(13);
    title.setBold(true);
    Label1->setFont(title);
    QPalette buttonText = Label1->palette();
    buttonText.setColor(QPalette::WindowText, palette().color(QPalette::ButtonText));
    Label1->setPalette(buttonText);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    Label1->setGeometry(73, 50, 161, 16);

    Label2 = new QLabel(QString::fromUtf8(AboutVersion), this);
    Place(Label2, 127, 70, 46, 15);

    Label5 = new QLabel(QStringLiteral("HomePage:"), this);
    Label5->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label5->setGeometry(30, 90, 66, 15);

    RzURLLabel4 = new TLinkLabel(this);
    RzURLLabel4->setText(QString::fromLatin1(HomePage));
    RzURLLabel4->Link = QString::fromLatin1(HomePage);
    Place(RzURLLabel4, 101, 89, 161, 13);

    Label6 = new QLabel(QStringLiteral("Email:"), this);
    Label6->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label6->setGeometry(8, 114, 88, 13);

    RzURLLabel1 = new TLinkLabel(this);
    RzURLLabel1->setText(QString::fromLatin1(MailAddress));
    RzURLLabel1->Link = QStringLiteral("mailto:") + QString::fromLatin1(MailAddress);
    Place(RzURLLabel1, 100, 113, 119, 13);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setGeometry(27, 136, 262, 81);
    Memo1->setPlainText(QStringLiteral("How to play:\n"
                                       "      The two same pictures connection, \n"
                                       "      cable not more than three lines, you \n"
                                       "      can successfully remove these two \n"
                                       "      pictures, all pictures removed, complete."));

    Button1 = new QPushButton(QStringLiteral("Close"), this);
    Button1->setGeometry(208, 224, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TFormAbout::Button1Click);
}

void TFormAbout::ApplyTexts(const TRequest& about) {
    const auto line = [&about](std::size_t i) {
        return i < about.Lines.size() ? QString::fromStdString(about.Lines[i]) : QString();
    };
    setWindowTitle(QString::fromStdString(about.Caption));
    Label1->setText(line(0));
    Label2->setText(line(1));
    Label5->setText(line(2));
    RzURLLabel4->setText(line(3));
    RzURLLabel4->Link = line(3);
    Label6->setText(line(4));
    RzURLLabel1->setText(line(5));
    RzURLLabel1->Link = QStringLiteral("mailto:") + line(5);
    Memo1->clear();
    Memo1->setPlainText(line(6));
    Button1->setText(QString::fromStdString(about.Button));
}

void TFormAbout::Button1Click() { accept(); }

} // namespace pelmoravan
