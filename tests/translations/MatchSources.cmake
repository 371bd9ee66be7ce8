# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DLUPDATE=... -DTS_FILES=... -DSOURCES_LIST=... -DINCLUDE_DIR=...
#       -DOPTIONS=... -DWORK_DIR=... -P MatchSources.cmake
# Fails when lupdate would change a translation file: a text was added,
# changed or removed in the sources and the translation has not followed.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
foreach(ts IN LISTS TS_FILES)
    get_filename_component(name "${ts}" NAME)
    set(copy "${WORK_DIR}/${name}")
    file(COPY_FILE "${ts}" "${copy}")
    execute_process(
        COMMAND "${LUPDATE}" ${OPTIONS} -I "${INCLUDE_DIR}" "@${SOURCES_LIST}"
                -ts "${copy}"
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "lupdate failed on ${name}:\n${out}${err}")
    endif()
    file(READ "${ts}" before)
    file(READ "${copy}" after)
    if(NOT before STREQUAL after)
        execute_process(COMMAND diff -u "${ts}" "${copy}" OUTPUT_VARIABLE difference)
        message(FATAL_ERROR
            "${name} does not match the sources. Run\n"
            "  cmake --build <build> --target update_translations\n"
            "and translate what is new (every entry must be finished):\n${difference}")
    endif()
endforeach()
message(STATUS "The translation files match the sources.")
