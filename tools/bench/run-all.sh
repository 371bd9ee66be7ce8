#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks and prints every figure of README.md's Performance
# section: start-up beside a bare Qt window, the file list on folders of
# 100,000 and 10,000 files beside lists built from Qt alone, Create Flash's
# build phase, loading-screen previews while a list scrolls, the
# command-line builder against cat, and tapes turned into snapshots beside a
# bare Z80 loop (with the Sinclair ROM too when TESSEL_SINCLAIR_ROM names it).
#
#   tools/bench/run-all.sh [BUILD_DIR]
#
# BUILD_DIR defaults to build-bench (configured as Release when new). Runs
# headless (QT_QPA_PLATFORM=offscreen); the launch-to-first-window figure
# also needs xvfb-run and libxcb, and is skipped without them. The CLI part
# needs hyperfine and GNU time (see tools/bench/bench-flash.sh).
# Counts can be changed: STARTUP_RUNS=30 FOLDER_RUNS=30 FOLDER_FILES="100000 10000"
# FOLDER_DIRS="/dev/shm /var/tmp" (where the folders are made: tmpfs, then the
# disk) FOLDER_VARIANTS=ours,worker,fsm,dir BUILD_RUNS=50 CLI_RUNS=50
# PREVIEW_RUNS=3 PREVIEW_FILES=500 TAPE_RUNS=3. Close other busy programs
# first: the figures are wall-clock times.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${1:-$root/build-bench}")
bench=$build/tools/bench

if [[ ! -f $build/CMakeCache.txt ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target tessel-zizerev tessel-flash demo-kit benchmarks >/dev/null

export QT_QPA_PLATFORM=offscreen
scratch=()
trap 'rm -rf "${scratch[@]}"' EXIT
if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    scratch+=("$XDG_RUNTIME_DIR")
fi

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
echo "machine: $(nproc) CPUs ($cpu), load average $(cut -d' ' -f1-3 /proc/loadavg), $(uname -r)"

echo
echo "== start-up: launch to window shown and file list filled, beside a bare window (demo kit, offscreen)"
"$bench/tessel-bench-startup" --runs "${STARTUP_RUNS:-30}" --folder "$build/kit/snapshots"
if command -v xvfb-run >/dev/null; then
    echo
    echo "== the same on an X server (Xvfb)"
    xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb \
        "$bench/tessel-bench-startup" --runs "${STARTUP_RUNS:-30}" --folder "$build/kit/snapshots" \
        2> >(grep -v XDG_RUNTIME_DIR >&2) || echo "(start-up on Xvfb failed; see above)"
fi

if [[ -x $bench/tessel-bench-first-window ]] && command -v xvfb-run >/dev/null; then
    echo
    echo "== start-up of the real program: launch to first window mapped, beside the bare window (Xvfb)"
    # A copy of the kit, so the program's settings in the build stay as they are.
    kit=$(mktemp -d)
    scratch+=("$kit")
    cp -r "$build/kit/." "$kit"
    printf '[tessel]\nstart=1\nDirectorioSnaps=%s\nDirectorioTrabajo=%s\nDireccionNombres=8192\nDireccionRegistros=8448\n' \
        "$kit/snapshots" "$kit/flash" >"$kit/tessel.ini"
    xvfb-run -a -s "-screen 0 1280x1024x24" env -u QT_QPA_PLATFORM \
        "$bench/tessel-bench-first-window" --runs "${STARTUP_RUNS:-30}" -- "$kit/tessel-zizerev" \
        --vs "$bench/tessel-bench-startup" --bare "$kit/snapshots" "$(ls "$kit"/snapshots/*.sna* | wc -l)" --stay \
        2> >(grep -v XDG_RUNTIME_DIR >&2) || echo "(launch to first window failed; see above)"
else
    echo "(launch to first window skipped: needs xvfb-run and libxcb development files)"
fi

for dir in ${FOLDER_DIRS:-/dev/shm /var/tmp}; do
    for files in ${FOLDER_FILES:-100000 10000}; do
        echo
        echo "== file list on a folder of $files files in $dir ($(df -T "$dir" | awk 'NR==2 {print $2}')), beside Qt-only lists"
        "$bench/tessel-bench-folder" --runs "${FOLDER_RUNS:-30}" --files "$files" --dir "$dir" \
            --variants "${FOLDER_VARIANTS:-ours,worker,fsm,dir}" \
            2> >(grep -v propagateSizeHints >&2)
    done
done

echo
echo "== loading-screen previews while a list of ${PREVIEW_FILES:-500} snapshots scrolls under the pointer"
"$bench/tessel-bench-previews" --runs "${PREVIEW_RUNS:-3}" --files "${PREVIEW_FILES:-500}"

echo
echo "== Create Flash's build phase in-process, against a copy of the same bytes"
"$bench/tessel-bench-build" --kit "$build/kit" --out "$build" --runs "${BUILD_RUNS:-50}"
if [[ -d /dev/shm ]]; then
    echo "-- the same in memory (/dev/shm): the work without waiting for the disk"
    "$bench/tessel-bench-build" --kit "$build/kit" --out /dev/shm --runs "${BUILD_RUNS:-50}"
fi

echo
echo "== tessel-flash against cat"
"$root/tools/bench/bench-flash.sh" "$build" "${CLI_RUNS:-50}"

echo
echo "== tapes turned into snapshots, beside a bare loop of the Z80 core"
"$bench/tessel-bench-tapes" --runs "${TAPE_RUNS:-3}"
if [[ -n ${TESSEL_SINCLAIR_ROM:-} ]]; then
    echo "-- the same with the Sinclair ROM"
    "$bench/tessel-bench-tapes" --runs "${TAPE_RUNS:-3}" --rom "$TESSEL_SINCLAIR_ROM"
fi
