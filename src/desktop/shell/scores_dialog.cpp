// SPDX-License-Identifier: MIT
#include "desktop/shell/scores_dialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>


namespace pelmoravan {

TfmScores::TfmScores(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setFixedSize(234, 305);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    ListView1 = new QTreeWidget(this);
    ListView1->setGeometry(8, 8, 217, 257);
    ListView1->setRootIsDecorated(false);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setColumnCount(3);
    ListView1->header()->setStretchLastSection(false);
    ListView1->setColumnWidth(0, 40);
    ListView1->setColumnWidth(1, 80);
    ListView1->setColumnWidth(2, 90);

    Button1 = new QPushButton(this);
    Button1->setGeometry(80, 274, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TfmScores::Fill(const TRequest& list) {
    setWindowTitle(QString::fromStdString(list.Caption));
    QStringList headers;
    for (const std::string& header : list.Headers) {
        headers << QString::fromStdString(header);
    }
    ListView1->setHeaderLabels(headers);
    Button1->setText(QString::fromStdString(list.Button));
    ListView1->clear();
    int rank = 1;
    for (const TScoreRow& entry : list.Rows) {
        auto* row = new QTreeWidgetItem(ListView1);
        row->setText(0, QString::number(rank++));
        row->setText(1, QString::fromStdString(entry.Name));
        row->setText(2, QString::number(entry.Score));
    }
}

} // namespace pelmoravan
