// SPDX-License-Identifier: MIT
#pragma once
#include <cstdint>
#include <string>

#include "ports/requests.h"

namespace pelmoravan {

// The page's dialogs (HTML <dialog>s, modal to the page): a request is shown and the call
// returns at once; the dialog, however it is closed, hands its answer to pel_answer on that
// later event. caption and button are the request's own, or the window's where it left them
// empty.
void WebShowRequest(const TRequest& request, const std::string& caption, const std::string& button);
// Takes the dialog of this request down without an answer.
void WebCloseRequest(std::uint32_t id);

} // namespace pelmoravan
