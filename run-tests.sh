#!/usr/bin/env bash
# Installs what is missing, checks the layout (clang-format), builds, and runs every test: first the
# normal build, then clang-tidy over the sources and a clang build with AddressSanitizer,
# UndefinedBehaviorSanitizer and the fuzzers' smoke runs. --quick runs the normal build's tests only.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"

# cpu_milliseconds: sets CPU_MS to the CPU time (user and system) the commands run so far have used,
# all their children included. `times` must run in this shell, not in a subshell.
cpu_milliseconds() {
    local times self user system time minutes seconds
    times=$(mktemp)
    times >"$times"
    { read -r self && read -r user system; } <"$times"
    rm -f "$times"
    CPU_MS=0
    for time in "$user" "$system"; do # 1m2.345s
        minutes="${time%%m*}"
        seconds="${time#*m}"
        seconds="${seconds%s}"
        CPU_MS=$((CPU_MS + 10#$minutes * 60000 + 10#${seconds%.*} * 1000 + 10#${seconds#*.}))
    done
}

# step NAME COMMAND...: runs the command, then says how long it took, so that a slow run shows where.
step() {
    local name="$1" start=$SECONDS cpu
    shift
    cpu_milliseconds
    cpu=$CPU_MS
    "$@"
    cpu_milliseconds
    echo "== $name: $((SECONDS - start)) s, $(((CPU_MS - cpu + 500) / 1000)) CPU s"
}

step "packages" install_missing_packages
step "layout" check_format
step "build" build_tree "$ROOT/build"
step "tests" ctest --test-dir "$ROOT/build" --output-on-failure -j "$(nproc)"

[ "${1:-}" = "--quick" ] && exit 0
step "clang-tidy" check_tidy "$ROOT/build"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
# -O1 and line tables only: what the sanitizers' reports need, at a fraction of the compile time.
CC=clang CXX=clang++ step "sanitizer build" build_tree "$ROOT/build-sanitize" -DVYR2_SANITIZE=ON -DVYR2_BUILD_FUZZ=ON \
    -DVYR2_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG"
step "sanitizer tests" ctest --test-dir "$ROOT/build-sanitize" --output-on-failure -j "$(nproc)"
