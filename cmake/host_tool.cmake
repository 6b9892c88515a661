# SPDX-License-Identifier: GPL-3.0-or-later
# Tables the WebAssembly build takes from the build machine's own libraries: a small program
# compiled with the machine's C++ compiler writes the table at build time; it is never shipped.
include_guard(GLOBAL)
find_program(SPRINGCALC_HOST_CXX NAMES c++ g++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)

# springcalc_host_table(TOOL SOURCE OUTPUT [LIBRARIES...]): OUTPUT in this binary folder.
function(springcalc_host_table tool source output)
    add_custom_command(
        OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${output}
        COMMAND ${SPRINGCALC_HOST_CXX} -std=c++20 -O1 ${source} -o ${CMAKE_CURRENT_BINARY_DIR}/${tool}
                ${ARGN}
        COMMAND ${CMAKE_CURRENT_BINARY_DIR}/${tool} ${CMAKE_CURRENT_BINARY_DIR}/${output}
        DEPENDS ${source}
        COMMENT "Writing ${output} with the build machine's ${tool}"
        VERBATIM)
endfunction()
