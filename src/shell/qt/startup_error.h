#pragma once
#include <string>

namespace pelmoravan {

// An error that ends the start-up: one line on standard error and one message box (an
// application object is made for it if none exists yet). The caller then exits with code 1.
void ReportStartupError(const std::string& text);

} // namespace pelmoravan
