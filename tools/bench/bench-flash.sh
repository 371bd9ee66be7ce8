#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times tessel-flash building an image against cat writing the same source
# bytes into one file on the same disk, and reports the builder's peak memory.
#
#   tools/bench/bench-flash.sh [BUILD_DIR] [RUNS]
#
# BUILD_DIR defaults to "build"; its kit folder must hold tessel-flash, the
# demo kit and at least ten snapshots in kit/snapshots. Needs hyperfine and
# GNU time (Debian: apt-get install hyperfine time).
set -euo pipefail

build=${1:-build}
runs=${2:-30}
kit="$build/kit"
exe="$kit/tessel-flash"
[[ -x $exe ]] || { echo "bench-flash: no $exe; build first" >&2; exit 1; }
for tool in hyperfine /usr/bin/time python3; do
    command -v "$tool" >/dev/null || { echo "bench-flash: $tool is missing" >&2; exit 1; }
done

mapfile -t snaps < <(find "$kit/snapshots" -maxdepth 1 -name '*.sna' | sort | head -n 10)
(( ${#snaps[@]} == 10 )) || { echo "bench-flash: need 10 snapshots in $kit/snapshots" >&2; exit 1; }

# Outputs go beside the build, so both commands write to the same disk.
work=$(mktemp -d "$build/bench-flash.XXXXXX")
trap 'rm -rf "$work"' EXIT

entries=()
for i in "${!snaps[@]}"; do entries+=("Snapshot $((i + 1))=${snaps[i]}"); done
printf -v build_cmd '%q ' "$exe" --kit "$kit" -o "$work/flash.rom" "${entries[@]}"
printf -v cat_cmd '%q ' cat "$kit/bank1.rom" "${snaps[@]}" "$kit/bank32.rom"
cat_cmd+="> $(printf '%q' "$work/cat.rom")"

echo "== time: $runs runs each, after 3 warm-up runs"
hyperfine --warmup 3 --runs "$runs" --export-json "$work/times.json" \
    -n tessel-flash "$build_cmd" -n cat "$cat_cmd" \
    -n "tessel-flash --version" "$(printf '%q' "$exe") --version"
python3 - "$work/times.json" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
f, c, v = r["tessel-flash"], r["cat"], r["tessel-flash --version"]
ms = lambda x: f"{x['mean']*1e3:.2f} ms ± {x['stddev']*1e3:.2f}"
print(f"tessel-flash {ms(f)}, cat {ms(c)}: ratio {f['mean']/c['mean']:.1f}x "
      f"(medians {f['median']/c['median']:.1f}x)")
print(f"of which Qt start-up (tessel-flash --version) {ms(v)}; "
      f"building alone {(f['mean']-v['mean'])*1e3:.2f} ms")
PY

peak() { /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1; }
echo "== peak resident memory (KiB)"
echo "tessel-flash building: $(peak "$exe" --kit "$kit" -o "$work/flash.rom" "${entries[@]}")"
echo "tessel-flash --version (Qt start-up alone): $(peak "$exe" --version)"
echo "cat: $(peak sh -c "$cat_cmd")"
echo "image: $(stat -c %s "$work/flash.rom") bytes"
