// SPDX-License-Identifier: MIT
#pragma once
#include <string>

namespace pelmoravan {

// Hands the board's words to the page's live regions: urgent ones (the outcome of a move) to
// the assertive one, the rest to the polite one.
void SayInPage(const std::string& text, bool urgent);

} // namespace pelmoravan
