#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The layer check against a small tree with one wrong use of each kind: it must name each of
# them, and pass the same tree without them.
set -u
check=$(realpath "$1")
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cd "$tree" || exit 1
mkdir -p engine text/width_table files report/sub cli ui web
touch cli/check.h ui/main_window.h report/report_writer.h engine/design.h files/write_all.h
# What is allowed: the folder's own headers by every form, lower folders, system headers.
printf '#include "design.h"\n#include "engine/design.h"\n#include <vector>\n' >engine/ok.cpp
printf '#include "engine/design.h"\n#include "../files/write_all.h"\n' >report/ok.cpp
printf 'include(${PROJECT_SOURCE_DIR}/cmake/tool.cmake)\nadd_library(x ok.cpp)\n' >report/CMakeLists.txt
"$check" . || { echo "FAIL: a clean tree is refused"; exit 1; }

printf '#include "../cli/check.h"\n' >engine/relative.cpp
printf '#include "ui/main_window.h"\n' >text/width_table/deeper.cpp
printf '#include <report/report_writer.h>\n' >engine/angled.h
printf '  #  include "cli/check.h"\n' >files/spaced.hpp
printf 'include(${PROJECT_SOURCE_DIR}/web/host_tool.cmake) # a build file upwards\n' >text/CMakeLists.txt
printf 'add_subdirectory(../../ui ui)\n' >report/sub/CMakeLists.txt
printf 'set(x ${CMAKE_CURRENT_SOURCE_DIR}/../cli/y.cpp)\n' >files/more.cmake
"$check" . 2>err
status=$?
failures=0
for want in "engine/relative.cpp:1: engine may not use cli/" \
    "text/width_table/deeper.cpp:1: text may not use ui/" \
    "engine/angled.h:1: engine may not use report/" \
    "files/spaced.hpp:1: files may not use cli/" \
    "text/CMakeLists.txt:1: text may not use web/" \
    "report/sub/CMakeLists.txt:1: report may not use ui/" \
    "files/more.cmake:1: files may not use cli/"; do
    grep -qxF "$want" err || { echo "FAIL: not told: $want"; failures=$((failures + 1)); }
done
[ "$status" = 1 ] || { echo "FAIL: status $status"; failures=$((failures + 1)); }
[ "$(wc -l <err)" = 7 ] || { echo "FAIL: told more than the seven:"; cat err; failures=$((failures + 1)); }
[ $failures = 0 ] && echo "all passed"
exit $((failures > 0))
