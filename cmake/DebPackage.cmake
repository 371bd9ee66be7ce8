# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: the same two programs installed in system folders
# (install component "system"), packed by cpack's DEB generator beside the
# release archive. Run from /usr/bin, the program keeps its files in the
# user's data folder and fills it from share/tessel-zizerev, which it finds
# at ../share/tessel-zizerev from its own folder (src/core/KitLocation.h).
# Included by Release.cmake before CPack; needs dpkg-shlibdeps (Debian
# package dpkg-dev), without which the package would declare no
# dependencies, and gzip.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
    return()
endif()
find_program(TESSEL_DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(TESSEL_GZIP gzip)
if(NOT TESSEL_DPKG_SHLIBDEPS OR NOT TESSEL_GZIP)
    message(STATUS "No Debian package: dpkg-shlibdeps (dpkg-dev) or gzip is missing")
    return()
endif()

include(GNUInstallDirs)
set(TESSEL_DEB_MAINTAINER
    "Tessel Zizerev maintainers <maintainers@users.noreply.c-seed-b9d37714.example>"
    CACHE STRING "The Maintainer field of the Debian package")

set(_deb_template "${CMAKE_INSTALL_DATADIR}/${TESSEL_DESKTOP_ID}")
set(_deb_doc "${CMAKE_INSTALL_DATADIR}/doc/${TESSEL_DESKTOP_ID}")
file(RELATIVE_PATH _deb_from_bin "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_FULL_DATADIR}/${TESSEL_DESKTOP_ID}")
if(NOT _deb_from_bin STREQUAL "../share/${TESSEL_DESKTOP_ID}")
    message(WARNING "The installed program looks for its template in "
                    "../share/${TESSEL_DESKTOP_ID} beside its own folder; with these "
                    "install folders it would not find it (${_deb_from_bin}).")
endif()

# The changelog is kept by hand, one entry a release.
file(STRINGS "${_tessel_packaging}/deb/changelog" _deb_first LIMIT_COUNT 1)
if(NOT _deb_first MATCHES "^${TESSEL_DESKTOP_ID} \\(${PROJECT_VERSION}\\) ")
    message(WARNING "packaging/deb/changelog has no entry for version ${PROJECT_VERSION}")
endif()

# Manual pages and the changelog go in compressed, without a time stamp.
set(_deb_build "${PROJECT_BINARY_DIR}/packaging/deb")
set(_deb_gzipped)
foreach(page tessel-zizerev tessel-flash tessel-screen)
    configure_file("${_tessel_packaging}/man/${page}.1" "${_deb_build}/man/${page}.1" @ONLY)
    list(APPEND _deb_gzipped "man/${page}.1")
endforeach()
configure_file("${_tessel_packaging}/deb/changelog" "${_deb_build}/changelog" COPYONLY)
list(APPEND _deb_gzipped changelog)
set(_deb_outputs)
foreach(file ${_deb_gzipped})
    add_custom_command(OUTPUT "${_deb_build}/${file}.gz"
        COMMAND "${TESSEL_GZIP}" -9 -n -f -k "${_deb_build}/${file}"
        DEPENDS "${_deb_build}/${file}"
        VERBATIM)
    list(APPEND _deb_outputs "${_deb_build}/${file}.gz")
endforeach()
add_custom_target(deb-files ALL DEPENDS ${_deb_outputs})

install(TARGETS tessel-zizerev tessel-flash tessel-screen
        RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT system)
install(FILES "${PROJECT_SOURCE_DIR}/kit/help.txt" "${_tessel_packaging}/tessel.ini"
        DESTINATION "${_deb_template}" COMPONENT system)
install(PROGRAMS "${PROJECT_SOURCE_DIR}/kit/Aspectrum-0.1.8/aspectrum"
        DESTINATION "${_deb_template}/Aspectrum-0.1.8" COMPONENT system)
install(FILES "${_tessel_packaging}/${TESSEL_DESKTOP_ID}.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications" COMPONENT system)
install(FILES "${_tessel_generated}/${TESSEL_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo" COMPONENT system)
foreach(size 48 96 256)
    install(FILES "${PROJECT_SOURCE_DIR}/src/ui/art/board-${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME ${TESSEL_DESKTOP_ID}.png COMPONENT system)
endforeach()
install(FILES "${PROJECT_SOURCE_DIR}/src/ui/art/board.svg"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
        RENAME ${TESSEL_DESKTOP_ID}.svg COMPONENT system)
install(FILES "${_deb_build}/man/tessel-zizerev.1.gz" "${_deb_build}/man/tessel-flash.1.gz"
              "${_deb_build}/man/tessel-screen.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT system)
install(FILES "${_tessel_packaging}/deb/copyright" "${_deb_build}/changelog.gz"
        DESTINATION "${_deb_doc}" COMPONENT system)

list(APPEND CPACK_GENERATOR DEB)
# Per generator: the archive packs the kit, the package the system layout.
configure_file("${PROJECT_SOURCE_DIR}/cmake/CPackPerGenerator.cmake.in"
               "${PROJECT_BINARY_DIR}/CPackPerGenerator.cmake" @ONLY)
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_BINARY_DIR}/CPackPerGenerator.cmake")

set(CPACK_DEBIAN_PACKAGE_NAME "${TESSEL_DESKTOP_ID}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TESSEL_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Test SNA starts an emulator; Qt's own texts (buttons, file dialogs) in the
# user's language come with Qt's translations. The programs' own
# translations are built into them. Tapes load with OpenSE BASIC when the
# user has no Sinclair ROM.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fuse-emulator-gtk | fuse-emulator-sdl, qt6-translations-l10n, opense-basic")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The extended description; cpack puts the summary line above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tessel Zizerev prepares the contents of the Tessel cartridge, a 512 KiB flash
cartridge for the ZX Spectrum 48K. Pick ten 48K snapshots in a folder browser
and give each a menu name, and it writes one flash image with the cartridge
firmware, the snapshots, their menu names and their processor registers. It
can start an emulator on a snapshot to try it first.

Tapes (.tap, .tzx, .pzx, .csw, .wav) are taken too: an emulated 48K Spectrum
loads each one as the machine would, custom loaders included, and the
snapshot it loads to goes on the cartridge.

The command-line builder tessel-flash makes the same image without the window.

The cartridge firmware is not part of this package: pick its two bank files
and type its table offsets in the program's Tools > Firmware window.")
