// SPDX-License-Identifier: MIT
#pragma once

namespace pelmoravan {

// Held while the application object is made. Qt ends a process whose display cannot be opened
// (no X server at DISPLAY or -display, a dead Wayland socket, a -platform it does not have)
// with an abort and a core dump; under the guard it ends with one line naming the display and
// exit code 1 instead. Qt's other messages of that time are passed on when the guard goes.
class TPlatformGuard {
public:
    TPlatformGuard(int argc, char** argv);
    ~TPlatformGuard();
    TPlatformGuard(const TPlatformGuard&) = delete;
    TPlatformGuard& operator=(const TPlatformGuard&) = delete;
};

} // namespace pelmoravan
