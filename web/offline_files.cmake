# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the site's service worker, SITE/sw.js, from TEMPLATE: the list of the site's files and
# a version made of their names and contents, so that any change of any file makes a new worker
# and the browser replaces the files it keeps. Run at every build, after the site's files are
# in place; the worker is rewritten only when it changes.
#   cmake -DSITE=<site folder> -DTEMPLATE=<sw.js.in> -P offline_files.cmake
file(GLOB names RELATIVE ${SITE} ${SITE}/*)
list(SORT names)
set(contents "")
set(files "")
foreach(name IN LISTS names)
    if(name STREQUAL "sw.js" OR IS_DIRECTORY ${SITE}/${name})
        continue()
    endif()
    file(SHA256 ${SITE}/${name} hash)
    string(APPEND contents "${name} ${hash}\n")
    list(APPEND files "'${name}'")
endforeach()
string(SHA256 version "${contents}")
string(SUBSTRING ${version} 0 16 VERSION)
list(JOIN files ", " FILES)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
