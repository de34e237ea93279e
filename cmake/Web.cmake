# The browser build: the core and the web layer, compiled with emscripten into pelmoravan.js and
# pelmoravan.wasm. tools/web/build.sh puts them beside the page and the assets.
#   pelmoravan_web        the page as shipped: it exports what web/exports.txt lists, no more
#   pelmoravan_web_test   the same with the browser tests' hooks (tests/web/page_hooks.cpp), in
#                         test-page/ of the build folder
file(GLOB_RECURSE WEB_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/src/*/web/*.cpp ${CMAKE_SOURCE_DIR}/src/*/web/*.h)
add_library(pelmoravan_web_objects OBJECT ${WEB_SOURCES})
target_link_libraries(pelmoravan_web_objects PUBLIC pelmoravan_core)
target_compile_options(pelmoravan_web_objects PRIVATE ${PELMORAVAN_WARNINGS})
file(GLOB_RECURSE PACKED_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/music/*.mid
     ${CMAKE_SOURCE_DIR}/assets/tiles/* ${CMAKE_SOURCE_DIR}/assets/backs/*
     ${CMAKE_SOURCE_DIR}/assets/screens/*)
# The C functions the page's script calls, one a line; a browser test holds the shipped .wasm's
# exports to exactly this list.
set(PAGE_EXPORTS ${CMAKE_SOURCE_DIR}/web/exports.txt)

function(pelmoravan_page target)
  # The web layer is compiled once for both.
  add_executable(${target} $<TARGET_OBJECTS:pelmoravan_web_objects> ${ARGN})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME pelmoravan SUFFIX ".js")
  target_link_libraries(${target} PRIVATE pelmoravan_core)
  target_compile_options(${target} PRIVATE ${PELMORAVAN_WARNINGS})
  target_link_options(${target} PRIVATE
    # No Node: emscripten's output of this age does not run under the machine's Node anyway.
    -sENVIRONMENT=web
    # Calls that wait for a dialog or one turn of the event loop suspend the program.
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
    -sALLOW_MEMORY_GROWTH=1
    "SHELL:-sEXPORTED_FUNCTIONS=@${PAGE_EXPORTS}"
    "SHELL:-sEXPORTED_RUNTIME_METHODS=UTF8ToString,stringToUTF8,lengthBytesUTF8,FS,IDBFS"
    # The score file's folder is kept in the browser's storage.
    -lidbfs.js -sFORCE_FILESYSTEM=1
    # The MIDI tracks: the music rule writes one to the track file, the page plays its rendering.
    "SHELL:--embed-file ${CMAKE_SOURCE_DIR}/assets/music@/music"
    # The pictures in one file (pelmoravan.data) fetched beside the program: one request instead
    # of a hundred and twenty. The waves are the page's own files, fetched once the title shows.
    "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/assets/tiles@/assets/tiles"
    "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/assets/backs@/assets/backs"
    "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/assets/screens@/assets/screens")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PACKED_FILES} ${PAGE_EXPORTS})
endfunction()

pelmoravan_page(pelmoravan_web)
pelmoravan_page(pelmoravan_web_test ${CMAKE_SOURCE_DIR}/tests/web/page_hooks.cpp)
set_target_properties(pelmoravan_web_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/test-page)
