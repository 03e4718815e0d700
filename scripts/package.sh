#!/usr/bin/env bash
# Installs what is missing, builds the programs and packs them into the Debian package
# dist/vyr2-sty-tool_VERSION_amd64.deb (install rules in cmake/install.cmake, package settings in
# cmake/package.cmake). Install it with: sudo apt-get install ./dist/vyr2-sty-tool_*.deb
set -euo pipefail
source "$(dirname "$0")/setup.sh"

install_missing_packages
configure_tree "$ROOT/build"
cmake --build "$ROOT/build" -j "$(nproc)" --target vyr2-sty vyr2-sty-tool help_docs
cpack --config "$ROOT/build/CPackConfig.cmake" -B "$ROOT/dist"
rm -rf "$ROOT/dist/_CPack_Packages"
ls "$ROOT"/dist/vyr2-sty-tool_*.deb
