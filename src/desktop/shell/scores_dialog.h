// SPDX-License-Identifier: MIT
#pragma once
#include <QDialog>

#include "ports/requests.h"

class QPushButton;
class QTreeWidget;

namespace pelmoravan {

// The best-score list: rows of rank, name and score, and an OK button.
class TfmScores : public QDialog {
    Q_OBJECT
public:
    explicit TfmScores(QWidget* parent = nullptr);

    // Takes the caption, column headers and button text of a score list request and lists its
    // rows, rank 1 first, empty ones too; filling again starts from an empty list.
    void Fill(const TRequest& list);

    QTreeWidget* ListView1 = nullptr;
    QPushButton* Button1 = nullptr;
};

} // namespace pelmoravan
