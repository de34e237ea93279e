// SPDX-License-Identifier: MIT
#pragma once
#include <string>

#include "shell/score_file.h"

namespace pelmoravan {

// The check before any window exists. On a file error: one line on standard error, one
// message box, and false (the program then ends with exit code 1).
bool CheckScoreFileAtStartup(const std::string& path = ScoreFileName, int argc = 0, char** argv = nullptr);

} // namespace pelmoravan
