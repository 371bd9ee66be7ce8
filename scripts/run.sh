#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and opens it on the demo kit in build/kit. Without a
# display it builds a demo image with the command-line builder instead.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
tz_need_packages "${TZ_BUILD_PACKAGES[@]}" fonts-liberation

build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build"
kit="$build/kit"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "Opening Tessel Zizerev on the demo kit in $kit"
    exec "$kit/tessel-zizerev"
fi

echo "No display: building a demo image with tessel-flash instead."
args=()
n=0
for snapshot in "$kit"/snapshots/*.sna; do
    [ $n -lt 10 ] || break
    n=$((n + 1))
    name=$(basename "$snapshot" .sna)
    args+=("$name=$snapshot")
done
"$kit/tessel-flash" -o "$kit/flash/demo.rom" "${args[@]}"
