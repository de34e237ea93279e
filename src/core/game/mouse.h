// SPDX-License-Identifier: MIT
#pragma once

namespace pelmoravan {

// The mouse buttons the play surface reports.
enum class TMouseButton { mbLeft, mbRight, mbMiddle };

} // namespace pelmoravan
