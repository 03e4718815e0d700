#!/usr/bin/env bash
# Installs what is missing, builds, and opens the editor on the bundled sample style file.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"

install_missing_packages
build_tree "$ROOT/build"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "no display to open the editor on; run it later with:"
    echo "  $ROOT/build/src/app/vyr2-sty-tool $ROOT/build/sample/sample.sty"
    exit 0
fi
exec "$ROOT/build/src/app/vyr2-sty-tool" "$ROOT/build/sample/sample.sty"
