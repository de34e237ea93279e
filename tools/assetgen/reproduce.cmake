# SPDX-License-Identifier: MIT
# Runs the asset generator into a scratch folder and compares every file it writes with the
# committed one, byte for byte; also fails when either side has a file the other lacks.
# Inputs: GENERATOR, COMMITTED, SCRATCH.
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
execute_process(COMMAND "${GENERATOR}" "${SCRATCH}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the generator failed: ${status}")
endif()

set(patterns *.bmp *.wav *.mid *.png)
file(GLOB_RECURSE made RELATIVE "${SCRATCH}" LIST_DIRECTORIES false "${SCRATCH}/*")
set(committed)
foreach(pattern IN LISTS patterns)
  file(GLOB_RECURSE found RELATIVE "${COMMITTED}" "${COMMITTED}/${pattern}")
  list(APPEND committed ${found})
endforeach()
list(SORT made)
list(SORT committed)
if(NOT made STREQUAL committed)
  message(FATAL_ERROR "file lists differ:\n made: ${made}\n committed: ${committed}")
endif()

set(differ)
foreach(name IN LISTS made)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${SCRATCH}/${name}" "${COMMITTED}/${name}"
                  RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    list(APPEND differ ${name})
  endif()
endforeach()
list(LENGTH made count)
if(differ)
  message(FATAL_ERROR "regenerated files differ from the committed ones: ${differ}")
endif()
message(STATUS "all ${count} regenerated assets match the committed ones")
