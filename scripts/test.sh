#!/usr/bin/env bash
# Builds everything and runs every test headless. Fails when a test fails or
# when no test ran.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tz_need_packages "${TZ_BUILD_PACKAGES[@]}"

build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_WERROR=ON "$@"
cmake --build "$build"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure --no-tests=error \
    -j "$(nproc)"
