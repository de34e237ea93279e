// SPDX-License-Identifier: MIT
#pragma once
#include "web/shell/web_form.h"

namespace pelmoravan {

// The page's one window, for calls that reach it from outside main; null until it is built.
TWebForm* PageForm();

} // namespace pelmoravan
