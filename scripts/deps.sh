# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the other scripts: installs the Debian/Ubuntu packages that are
# missing, and nothing when all are there.

tz_need_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and testing need (libspectrum reads the snapshot and tape
# formats; libz80ex is the Z80 that loads tapes, OpenSE BASIC the ROM it
# loads them with when there is no Sinclair ROM, z80asm assembles the test
# tapes' programs; fontconfig lets the window read the font configuration
# while it connects to the display; Qt's Linguist tools make the translations, and Qt's own
# Spanish texts are what the Spanish window test sees on its buttons; the
# validators check the release kit's desktop files; dpkg-dev and lintian make
# and check the Debian package).
TZ_BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev libgl-dev
                   libfontconfig-dev
                   qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools qt6-translations-l10n
                   libspectrum-dev libz80ex-dev opense-basic z80asm desktop-file-utils
                   appstream dpkg-dev lintian)
