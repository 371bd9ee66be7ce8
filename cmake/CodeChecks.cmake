# SPDX-License-Identifier: GPL-3.0-or-later
# Static checks, run by hand: "format" applies the house style to every
# source file, "format-check" fails where it differs, "tidy" runs the chosen
# clang-tidy checks (.clang-tidy) over the program and its tests.
file(GLOB_RECURSE TESSEL_CHECKED_SOURCES CONFIGURE_DEPENDS
     "${CMAKE_SOURCE_DIR}/src/*.cpp" "${CMAKE_SOURCE_DIR}/src/*.h"
     "${CMAKE_SOURCE_DIR}/tests/*.cpp" "${CMAKE_SOURCE_DIR}/tests/*.h"
     "${CMAKE_SOURCE_DIR}/tools/*.cpp" "${CMAKE_SOURCE_DIR}/tools/*.h"
     "${CMAKE_SOURCE_DIR}/fuzz/*.cpp")

find_program(CLANG_FORMAT_EXE NAMES clang-format clang-format-14)
if(CLANG_FORMAT_EXE)
    add_custom_target(format
        COMMAND "${CLANG_FORMAT_EXE}" -i ${TESSEL_CHECKED_SOURCES}
        WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}"
        COMMENT "Formatting the sources" VERBATIM)
    add_custom_target(format-check
        COMMAND "${CLANG_FORMAT_EXE}" --dry-run --Werror ${TESSEL_CHECKED_SOURCES}
        WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}"
        COMMENT "Checking the sources' format" VERBATIM)
endif()

find_program(CLANG_TIDY_EXE NAMES clang-tidy clang-tidy-14)
if(CLANG_TIDY_EXE)
    # The sanitizer canaries do wrong on purpose; benchmarks and the
    # screenshot tool are tools, not the product.
    set(TESSEL_TIDY_SOURCES ${TESSEL_CHECKED_SOURCES})
    list(FILTER TESSEL_TIDY_SOURCES INCLUDE REGEX "\\.cpp$")
    list(FILTER TESSEL_TIDY_SOURCES EXCLUDE REGEX "/(tools|fuzz|tests/sanitizers)/")
    add_custom_target(tidy
        COMMAND "${CLANG_TIDY_EXE}" -p "${CMAKE_BINARY_DIR}" --quiet ${TESSEL_TIDY_SOURCES}
        WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}"
        COMMENT "Running clang-tidy" VERBATIM)
endif()
