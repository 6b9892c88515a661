# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the web edition with Emscripten in build/<preset>/web as a step of the native build,
# so that `make test` has the page to open. The site lands in build/<preset>/web/site.
include(ExternalProject)
# Beside emcmake: /usr/share/emscripten on Debian, the SDK's own folder elsewhere.
get_filename_component(emscripten_root ${SPRINGCALC_EMCMAKE} REALPATH)
get_filename_component(emscripten_root ${emscripten_root} DIRECTORY)
find_file(SPRINGCALC_EMSCRIPTEN_TOOLCHAIN Emscripten.cmake
          PATHS ${emscripten_root}/cmake/Modules/Platform
                /usr/share/emscripten/cmake/Modules/Platform
          NO_DEFAULT_PATH REQUIRED)
set(SPRINGCALC_WEB_SITE ${CMAKE_BINARY_DIR}/web/site)
# Emscripten's JavaScript optimizer needs acorn, which Debian installs in /usr/share/nodejs; a
# node that is not Debian's own does not look there (the preset "web" says the same).
ExternalProject_Add(springcalc_web
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/web
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${SPRINGCALC_EMSCRIPTEN_TOOLCHAIN}
               -DCMAKE_BUILD_TYPE=MinSizeRel
               -DCMAKE_CXX_LINKER_LAUNCHER=env|NODE_PATH=/usr/share/nodejs
    LIST_SEPARATOR |
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON)
