// SPDX-License-Identifier: MIT
#pragma once
#include <string>

namespace pelmoravan {

// An error that ends the start-up: one line on standard error and one message box (an
// application object is made for it if none exists yet, from the program's arguments when
// given, so that Qt's own options count). On the offscreen and minimal platforms, where nobody
// could see or close the box, only the line. The caller then exits with code 1.
void ReportStartupError(const std::string& text, int argc = 0, char** argv = nullptr);

} // namespace pelmoravan
