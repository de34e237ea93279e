# SPDX-License-Identifier: MIT
# Runs the build guard on a core file that reaches for an emscripten header: it must refuse.
include(${SOURCE_DIR}/cmake/CoreGuard.cmake)
file(WRITE ${WORK}/guarded.cpp "#include \"game/game.h\"\n#  include <emscripten/html5.h>\n")
pelmoravan_check_core_includes("${WORK}/guarded.cpp")
