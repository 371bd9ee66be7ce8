# SPDX-License-Identifier: GPL-3.0-or-later
# Runs PROGRAM with ARGUMENT and passes only when it fails with a sanitizer
# report matching EXPECT.
execute_process(COMMAND "${PROGRAM}" "${ARGUMENT}" RESULT_VARIABLE status
                OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(status EQUAL 0)
    message(FATAL_ERROR "${ARGUMENT}: the fault went unreported\n${output}")
endif()
if(NOT output MATCHES "${EXPECT}")
    message(FATAL_ERROR "${ARGUMENT}: no report matching '${EXPECT}'\n${output}")
endif()
message(STATUS "${ARGUMENT}: reported as expected")
