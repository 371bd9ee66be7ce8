#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the release kit in build-release (or $BUILD_DIR), runs every test
# headless and packs tessel-zizerev-<version>-linux-<processor>.tar.gz there,
# and the Debian package tessel-zizerev_<version>_<arch>.deb beside it.
# Extra arguments go to the CMake configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tz_need_packages "${TZ_BUILD_PACKAGES[@]}"

build=${BUILD_DIR:-build-release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build "$build"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure --no-tests=error \
    -j "$(nproc)"
cpack --config "$build/CPackConfig.cmake"
