# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the web edition with Emscripten in build/<preset>/web as a step of the native build,
# so that `make test` has the page to open. The site lands in build/<preset>/web/site.
include(ExternalProject)
find_file(SPRINGCALC_EMSCRIPTEN_TOOLCHAIN Emscripten.cmake
          PATHS /usr/share/emscripten/cmake/Modules/Platform REQUIRED)
set(SPRINGCALC_WEB_SITE ${CMAKE_BINARY_DIR}/web/site)
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
