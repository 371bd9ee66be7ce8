# SPDX-License-Identifier: GPL-3.0-or-later
# Lays out the demo kit around the executables in ${TESSEL_KIT_DIR}: settings
# file, placeholder banks, help text, emulator launcher, sample snapshots and
# the working folder. Runs at every build; it never replaces the settings
# file or bank files that are already there, since the program (or the user)
# may have changed them.
add_custom_target(demo-kit ALL
    COMMAND "${CMAKE_COMMAND}"
            -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/kit
            -DKIT_DIR=${TESSEL_KIT_DIR}
            -P "${CMAKE_SOURCE_DIR}/cmake/LayOutKit.cmake"
    COMMENT "Laying out the demo kit in ${TESSEL_KIT_DIR}"
    VERBATIM)
