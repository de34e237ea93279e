// SPDX-License-Identifier: MIT
#pragma once

#include "ports/window.h"

namespace pelmoravan {

// Hands words for a screen reader to the page's live regions, which choose by the words' kind.
void SayInPage(const TSpokenWords& words);

} // namespace pelmoravan
