#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang in build-fuzz and runs each for
# SECONDS (default 300) from the seeds in fuzz/corpus/<target>. New inputs go
# to build-fuzz/corpus/<target>, crashes and hangs to build-fuzz/findings/<target>;
# neither is committed. Fails when a target found something.
#
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh

seconds=${1:-300}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_ini fuzz_entry_list fuzz_snapshot fuzz_tape)
build=${FUZZ_BUILD_DIR:-build-fuzz}

tz_need_packages "${TZ_BUILD_PACKAGES[@]}" clang
# llvm-symbolizer gives the findings readable stacks.
command -v llvm-symbolizer >/dev/null || tz_need_packages llvm
# The fuzzer runtime comes apart from the compiler on recent Debian releases.
clang_major=$(clang++ -dumpversion | cut -d. -f1)
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' \
    > "$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
    tz_need_packages "libclang-rt-$clang_major-dev"
fi

# Debug keeps Qt's and our assertions; -O1 keeps the runs fast.
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DTESSEL_FUZZ=ON -DBUILD_TESTING=OFF
cmake --build "$build" -j2 --target "${targets[@]}"

# The sanitizers' own bookkeeping (quarantine, fake stacks) grows to about 1 GB
# in five minutes; the raised RSS limit keeps longer runs from stopping on it.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:detect_stack_use_after_return=1}
# Leaks inside other people's libraries only, each with its reason.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/sanitizers/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
status=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    log="$build/findings/$target.log"
    # Snapshots are 49 KiB and more; small tapes and the other inputs are short.
    max_len=4096
    [ "$target" = fuzz_snapshot ] && max_len=70000
    [ "$target" = fuzz_tape ] && max_len=16384
    dict=""
    [ -f "fuzz/$target.dict" ] && dict="fuzz/$target.dict"
    echo "== $target: ${seconds}s, log $log"
    # New inputs land in the first folder; the committed seeds stay as they are.
    if "$build/fuzz/$target" "$corpus" "fuzz/corpus/$target" \
        ${dict:+-dict="$dict"} -max_total_time="$seconds" -timeout=10 -max_len=$max_len \
        -rss_limit_mb=4096 -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1; then
        grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec)' "$log" || true
        grep -E '#[0-9]+[[:space:]]+DONE' "$log" | tail -1 || true
    else
        status=1
        echo "$target found a fault; input and report in $findings and $log:"
        grep -E 'ERROR|runtime error|fuzz_[a-z_]+:|Test unit written' "$log" | head -20 || true
    fi
done
exit $status
