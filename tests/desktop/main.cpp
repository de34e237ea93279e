// SPDX-License-Identifier: MIT
#include <QApplication>
#include <gtest/gtest.h>

#include "host/game_host.h"
#include "shell/score_file.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Also when ctest only lists the tests: never reach for a real display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The windows these tests make keep the default score file; the program checks it before
    // any window, and so does this one.
    if (!::testing::GTEST_FLAG(list_tests)) {
        pelmoravan::TGameHost::CheckScoreFile(pelmoravan::ScoreFileName, [](const std::string&) {});
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
