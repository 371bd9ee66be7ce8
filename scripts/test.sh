#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything and runs every test headless. Fails when a test fails or
# when no test ran.
#
# --asan: the same with the address and undefined-behaviour sanitizers, in
# build-asan, as a Debug build so that assertions run too. Other arguments go
# to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tz_need_packages "${TZ_BUILD_PACKAGES[@]}"

build_type=RelWithDebInfo
build=${BUILD_DIR:-build}
options=()
for arg in "$@"; do
    if [ "$arg" = --asan ]; then
        build_type=Debug
        build=${BUILD_DIR:-build-asan}
        options+=(-DWITH_ASAN=ON)
    else
        options+=("$arg")
    fi
done

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=$build_type -DTESSEL_WERROR=ON \
    ${options[@]+"${options[@]}"}
cmake --build "$build"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure --no-tests=error \
    -j "$(nproc)"
