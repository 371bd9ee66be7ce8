# SPDX-License-Identifier: GPL-3.0-or-later
# The release kit users download: `cpack --config <build>/CPackConfig.cmake`
# (with DebPackage.cmake's Debian package beside it).
# Only the install component "release" is packed, so the demo kit's
# placeholder banks and snapshots, and other install rules, stay out; the
# banks and the table offsets come from the cartridge firmware.

# AppStream wants a reverse-DNS id. The desktop file keeps the name the
# program announces itself with (QGuiApplication::desktopFileName), so that
# desktops match its window to the entry.
set(TESSEL_APP_ID "org.tessel_zizerev.TesselZizerev")
set(TESSEL_DESKTOP_ID "tessel-zizerev")
# Bump together with the project version.
set(TESSEL_RELEASE_DATE "2026-12-07")

set(TESSEL_RELEASE_FOLDER "tessel-zizerev-${PROJECT_VERSION}")
string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" _tessel_platform)
set(TESSEL_RELEASE_ARCHIVE "tessel-zizerev-${PROJECT_VERSION}-${_tessel_platform}")

set(_tessel_packaging "${PROJECT_SOURCE_DIR}/packaging")
set(_tessel_generated "${PROJECT_BINARY_DIR}/packaging")
configure_file("${_tessel_packaging}/metainfo.xml.in"
               "${_tessel_generated}/${TESSEL_APP_ID}.metainfo.xml" @ONLY)
configure_file("${_tessel_packaging}/README.in" "${_tessel_generated}/README" @ONLY)

# Qt comes from the system at run time; an installed program must not look
# for it, or anything else, in the build tree.
set_target_properties(tessel-zizerev tessel-flash tessel-screen PROPERTIES
    INSTALL_RPATH ""
    INSTALL_RPATH_USE_LINK_PATH OFF
    BUILD_WITH_INSTALL_RPATH OFF)

install(TARGETS tessel-zizerev tessel-flash tessel-screen RUNTIME DESTINATION . COMPONENT release)
install(FILES "${PROJECT_SOURCE_DIR}/kit/help.txt"
              "${_tessel_packaging}/tessel.ini"
              "${_tessel_generated}/README"
        DESTINATION . COMPONENT release)
install(PROGRAMS "${PROJECT_SOURCE_DIR}/kit/Aspectrum-0.1.8/aspectrum"
        DESTINATION Aspectrum-0.1.8 COMPONENT release)
# Shipped empty so users see where images go.
install(DIRECTORY DESTINATION flash COMPONENT release)

# Laid out as under ~/.local/share, so adding the menu entry is a copy.
install(FILES "${_tessel_packaging}/${TESSEL_DESKTOP_ID}.desktop"
        DESTINATION share/applications COMPONENT release)
install(FILES "${_tessel_generated}/${TESSEL_APP_ID}.metainfo.xml"
        DESTINATION share/metainfo COMPONENT release)
foreach(size 48 96 256)
    install(FILES "${PROJECT_SOURCE_DIR}/src/ui/art/board-${size}.png"
            DESTINATION share/icons/hicolor/${size}x${size}/apps
            RENAME ${TESSEL_DESKTOP_ID}.png COMPONENT release)
endforeach()

set(CPACK_PACKAGE_NAME "tessel-zizerev")
set(CPACK_PACKAGE_VENDOR "Tessel Zizerev")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_GENERATOR "TGZ")
set(CPACK_PACKAGE_FILE_NAME "${TESSEL_RELEASE_ARCHIVE}")
# The archive's top folder is named without the platform, unlike the file.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};release;/${TESSEL_RELEASE_FOLDER}")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}")
set(CPACK_STRIP_FILES ON)
include("${CMAKE_CURRENT_LIST_DIR}/DebPackage.cmake")
include(CPack)
