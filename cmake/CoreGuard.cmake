# SPDX-License-Identifier: MIT
# Fails configuration when a core file includes a Qt, SDL or emscripten header.
function(pelmoravan_check_core_includes sources)
  foreach(src IN LISTS sources)
    file(STRINGS "${src}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|qt|Qt|SDL|SDL2|emscripten)")
    if(hits)
      message(FATAL_ERROR "The core must not depend on Qt, SDL or emscripten: ${src} has ${hits}")
    endif()
  endforeach()
endfunction()
