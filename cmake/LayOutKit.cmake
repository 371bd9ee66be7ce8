# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DSOURCE_DIR=<kit sources> -DKIT_DIR=<kit folder> -P LayOutKit.cmake

file(MAKE_DIRECTORY "${KIT_DIR}/flash")

# Files the program or the user may change: placed once.
if(NOT EXISTS "${KIT_DIR}/tessel.ini")
    file(COPY "${SOURCE_DIR}/tessel.ini" DESTINATION "${KIT_DIR}")
endif()

foreach(bank 1 32)
    set(path "${KIT_DIR}/bank${bank}.rom")
    if(NOT EXISTS "${path}")
        set(label "PLACEHOLDER bank${bank}.rom of the Tessel Zizerev demo kit. NOT cartridge firmware: replace this file with bank${bank}.rom from the Tessel firmware before you write an image to a cartridge.\n")
        string(LENGTH "${label}" used)
        math(EXPR rest "16384 - ${used}")
        string(REPEAT " " ${rest} padding)
        file(WRITE "${path}" "${label}${padding}")
    endif()
endforeach()

# Files that belong to the program: always brought up to date.
file(COPY "${SOURCE_DIR}/help.txt" DESTINATION "${KIT_DIR}")
if(EXISTS "${SOURCE_DIR}/Aspectrum-0.1.8")
    file(COPY "${SOURCE_DIR}/Aspectrum-0.1.8" DESTINATION "${KIT_DIR}"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                          WORLD_READ WORLD_EXECUTE)
endif()
if(EXISTS "${SOURCE_DIR}/snapshots")
    file(COPY "${SOURCE_DIR}/snapshots" DESTINATION "${KIT_DIR}")
endif()
