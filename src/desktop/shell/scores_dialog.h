#pragma once
#include <QDialog>

#include "shell/score_file.h"

class QPushButton;
class QTreeWidget;

namespace pelmoravan {

// The best-score list: ten rows of rank, name and score, and an OK button. Its texts are fixed
// and do not follow the interface language.
class TfmScores : public QDialog {
    Q_OBJECT
public:
    explicit TfmScores(QWidget* parent = nullptr);

    // Clears the list and adds one row per entry, rank 1 first; empty entries too.
    void Fill(const TScoreEntries& entries);

    QTreeWidget* ListView1 = nullptr;
    QPushButton* Button1 = nullptr;
};

} // namespace pelmoravan
