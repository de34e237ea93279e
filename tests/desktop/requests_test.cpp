#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>

#include "desktop/media/error_report.h"

namespace pelmoravan {
namespace {

int OpenBoxes() {
    int boxes = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        boxes += (qobject_cast<QMessageBox*>(w) != nullptr && w->isVisible()) ? 1 : 0;
    }
    return boxes;
}

TEST(ErrorReport, ShowsTheMessageAndDropsErrorsWhileItsBoxIsOpen) {
    QString shownText;
    int boxesDuringRepeat = -1;
    bool repeatReturned = false;
    // Runs inside the first box's own event loop, as a tick would.
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shownText = box->text();
        ReportError(nullptr, std::runtime_error("Image 'logo' not found"));
        repeatReturned = true;
        boxesDuringRepeat = OpenBoxes();
        box->done(QMessageBox::Ok);
    });
    ReportError(nullptr, std::runtime_error("Wave 'Alert ' not found"));
    EXPECT_EQ(shownText, QStringLiteral("Wave 'Alert ' not found"));
    EXPECT_TRUE(repeatReturned);
    EXPECT_EQ(boxesDuringRepeat, 1);

    // Once closed, the next error is shown again.
    bool secondShown = false;
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        secondShown = box != nullptr;
        if (box != nullptr) {
            box->done(QMessageBox::Ok);
        }
    });
    ReportError(nullptr, std::runtime_error("again"));
    EXPECT_TRUE(secondShown);
}

} // namespace
} // namespace pelmoravan
