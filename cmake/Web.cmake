# The browser build: the same layers compiled by emscripten for WebAssembly and WebGL 2.
# scripts/web.sh configures it with emcmake into build-web/ and fetches TinyXML's sources.

set(QUILLORB_TINYXML_SOURCE "" CACHE PATH
  "TinyXML's unpacked Debian source package (scripts/web.sh fetches it into the build tree)")
if(NOT EXISTS "${QUILLORB_TINYXML_SOURCE}/tinyxml.cpp")
  message(FATAL_ERROR "QUILLORB_TINYXML_SOURCE must name TinyXML's sources; scripts/web.sh fetches them")
endif()

# emscripten has no TinyXML: built once here from the same source Debian builds its own from.
add_library(tinyxml STATIC
  ${QUILLORB_TINYXML_SOURCE}/tinyxml.cpp ${QUILLORB_TINYXML_SOURCE}/tinystr.cpp
  ${QUILLORB_TINYXML_SOURCE}/tinyxmlerror.cpp ${QUILLORB_TINYXML_SOURCE}/tinyxmlparser.cpp)
target_compile_definitions(tinyxml PUBLIC TIXML_USE_STL)
target_compile_options(tinyxml PRIVATE -w)
target_include_directories(tinyxml SYSTEM PUBLIC ${QUILLORB_TINYXML_SOURCE})

# The header-only libraries come from the machine's Debian packages. Each gets a link of its
# own, since putting /usr/include on the path would pull in the host's C library headers.
set(QUILLORB_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-include)
file(MAKE_DIRECTORY ${QUILLORB_HOST_HEADERS})
foreach(folder glm toml++ CLI stb)
  if(NOT EXISTS /usr/include/${folder})
    message(FATAL_ERROR "/usr/include/${folder} is missing: scripts/web.sh installs it")
  endif()
  file(CREATE_LINK /usr/include/${folder} ${QUILLORB_HOST_HEADERS}/${folder} SYMBOLIC)
endforeach()

add_library(quillorb_dependencies INTERFACE)
target_include_directories(quillorb_dependencies SYSTEM INTERFACE ${QUILLORB_HOST_HEADERS})
target_link_libraries(quillorb_dependencies INTERFACE tinyxml)
target_link_options(quillorb_dependencies INTERFACE -sUSE_GLFW=3)
# CLI11 is header-only here, as on the desktop; the alias keeps the settings layer's line.
add_library(CLI11::CLI11 INTERFACE IMPORTED)

# Platform files that speak to the desktop's window system only.
set(QUILLORB_LEFT_OUT_SOURCES ".*/src/platform/Glfw[A-Za-z]*\\.cpp$")

# Where the page is put together: the program, its data bundle and the page's own files.
set(QUILLORB_WEB_SITE ${CMAKE_BINARY_DIR}/site)

# The program as the page loads it: quillorb.js, quillorb.wasm and quillorb.data, the data
# tree packed with LZ4 and unpacked into /quillorb, the game's working folder.
function(quillorb_web_program target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUILLORB_WEB_SITE}
    SUFFIX ".js")
  set(data_files "")
  foreach(folder shader texture models data)
    list(APPEND preload "SHELL:--preload-file ${QUILLORB_RUN_DIR}/${folder}@/quillorb/${folder}")
    file(GLOB_RECURSE folder_files ${QUILLORB_RUN_DIR}/${folder}/*)
    list(APPEND data_files ${folder_files})
  endforeach()
  list(APPEND preload
    "SHELL:--preload-file ${QUILLORB_RUN_DIR}/replays/demo.qbr@/quillorb/replays/demo.qbr")
  # The game's own JavaScript, which it calls as C functions.
  set(libraries ${CMAKE_SOURCE_DIR}/src/platform/web/PlayerFiles.js
    ${CMAKE_SOURCE_DIR}/src/platform/web/PageFocus.js)
  list(TRANSFORM libraries PREPEND "SHELL:--js-library " OUTPUT_VARIABLE library_options)
  # main waits for the page's callMain, on the player's click (INVOKE_RUN=0).
  target_link_options(${target} PRIVATE
    -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -lopenal -lidbfs.js -sALLOW_MEMORY_GROWTH=1
    -sLZ4=1 -sINVOKE_RUN=0 ${preload} ${library_options}
    "-sEXPORTED_RUNTIME_METHODS=['FS','ccall','callMain']")
  # A changed data file or script must re-link, which CMake cannot see in the flags.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${data_files} ${libraries})

  file(GLOB page_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/web/*)
  foreach(file ${page_files})
    get_filename_component(name ${file} NAME)
    configure_file(${file} ${QUILLORB_WEB_SITE}/${name} COPYONLY)
  endforeach()
endfunction()
