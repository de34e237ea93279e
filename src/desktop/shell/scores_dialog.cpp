#include "desktop/shell/scores_dialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

#include "shell/dialog_texts.h"

namespace pelmoravan {

TfmScores::TfmScores(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QString::fromUtf8(ScoreListCaption));
    setFixedSize(234, 305);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    ListView1 = new QTreeWidget(this);
    ListView1->setGeometry(8, 8, 217, 257);
    ListView1->setRootIsDecorated(false);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setHeaderLabels({QString::fromUtf8(ScoreListRankHeader), QString::fromUtf8(ScoreListNameHeader),
                                QString::fromUtf8(ScoreListScoreHeader)});
    ListView1->header()->setStretchLastSection(false);
    ListView1->setColumnWidth(0, 40);
    ListView1->setColumnWidth(1, 80);
    ListView1->setColumnWidth(2, 90);

    Button1 = new QPushButton(QString::fromUtf8(ScoreListOk), this);
    Button1->setGeometry(80, 274, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TfmScores::Fill(const TScoreEntries& entries) {
    ListView1->clear();
    int rank = 1;
    for (const TScoreEntry& entry : entries) {
        auto* row = new QTreeWidgetItem(ListView1);
        row->setText(0, QString::number(rank++));
        row->setText(1, QString::fromStdString(entry.Name));
        row->setText(2, QString::number(entry.Score));
    }
}

} // namespace pelmoravan
