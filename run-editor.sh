#!/usr/bin/env bash
# Installs what is missing, builds the editor and opens it on FILE.sty, or on the bundled sample
# style file without one. Usage: ./run-editor.sh [FILE.sty]
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"

if [ $# -gt 1 ]; then
    echo "usage: $0 [FILE.sty]" >&2
    exit 2
fi
style="${1:-$ROOT/build/sample/sample.sty}"

install_missing_packages
configure_tree "$ROOT/build"
# The editor and the sample it opens; tests and benchmarks are left to run-tests.sh.
cmake --build "$ROOT/build" -j "$(nproc)" --target vyr2-sty-tool sample_style
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "no display to open the editor on; run it later with:"
    echo "  $ROOT/build/src/app/vyr2-sty-tool $style"
    exit 0
fi
exec "$ROOT/build/src/app/vyr2-sty-tool" "$style"
