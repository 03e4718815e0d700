#!/usr/bin/env bash
# Installs what is missing, checks the layout (clang-format), builds, and runs every test: first the
# normal build, then clang-tidy over the sources and a clang build with AddressSanitizer,
# UndefinedBehaviorSanitizer and the fuzzers' smoke runs. --quick runs the normal build's tests only.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"

install_missing_packages
check_format
build_tree "$ROOT/build"
ctest --test-dir "$ROOT/build" --output-on-failure -j "$(nproc)"

[ "${1:-}" = "--quick" ] && exit 0
check_tidy "$ROOT/build"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
# -O1 and line tables only: what the sanitizers' reports need, at a fraction of the compile time.
CC=clang CXX=clang++ build_tree "$ROOT/build-sanitize" -DVYR2_SANITIZE=ON -DVYR2_BUILD_FUZZ=ON -DVYR2_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG"
ctest --test-dir "$ROOT/build-sanitize" --output-on-failure -j "$(nproc)"
