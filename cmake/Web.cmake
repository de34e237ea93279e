# The browser build: the core and the web layer, compiled with emscripten into pelmoravan.js and
# pelmoravan.wasm. tools/web/build.sh puts them beside the page and the assets.
file(GLOB_RECURSE WEB_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/src/*/web/*.cpp ${CMAKE_SOURCE_DIR}/src/*/web/*.h)
add_executable(pelmoravan_web ${WEB_SOURCES})
set_target_properties(pelmoravan_web PROPERTIES OUTPUT_NAME pelmoravan SUFFIX ".js")
target_link_libraries(pelmoravan_web PRIVATE pelmoravan_core)
target_compile_options(pelmoravan_web PRIVATE ${PELMORAVAN_WARNINGS})
file(GLOB_RECURSE PACKED_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/music/*.mid
     ${CMAKE_SOURCE_DIR}/assets/tiles/* ${CMAKE_SOURCE_DIR}/assets/backs/*
     ${CMAKE_SOURCE_DIR}/assets/screens/*)
target_link_options(pelmoravan_web PRIVATE
  # No Node: emscripten's output of this age does not run under the machine's Node anyway.
  -sENVIRONMENT=web
  # Calls that wait for a dialog or one turn of the event loop suspend the program.
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH=1
  "SHELL:-sEXPORTED_FUNCTIONS=_main,_malloc,_free"
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
set_property(TARGET pelmoravan_web APPEND PROPERTY LINK_DEPENDS ${PACKED_FILES})
