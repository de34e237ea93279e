// SPDX-License-Identifier: MIT
#pragma once
#include "shell/command_line.h"

namespace pelmoravan {

// Qt's own options that the window's toolkit reads from the command line: the game passes them
// through with their values. Both spellings, one dash and two, are Qt's.
inline const TPlatformOptions& QtOptions() {
    static const TPlatformOptions options{
        {"platform", "display", "geometry", "style", "name", "title"},
        {"reverse"},
        "platform",
        "Qt's own options pass through to Qt: -platform NAME, -display DISPLAY,\n"
        "-geometry GEOMETRY, -style STYLE, -reverse, -name NAME, -title TITLE.\n",
    };
    return options;
}

} // namespace pelmoravan
