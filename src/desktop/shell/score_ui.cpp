// SPDX-License-Identifier: MIT
#include "desktop/shell/score_ui.h"

#include "host/game_host.h"
#include "desktop/shell/startup_error.h"

namespace pelmoravan {

bool CheckScoreFileAtStartup(const std::string& path, int argc, char** argv) {
    return TGameHost::CheckScoreFile(path, [argc, argv](const std::string& message) {
        ReportStartupError(message, argc, argv);
    });
}

} // namespace pelmoravan
