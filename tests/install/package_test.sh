#!/usr/bin/env bash
# Packs the build's programs into the Debian package as scripts/package.sh does, unpacks it with
# dpkg-deb and runs both programs from the unpacked tree.
# Usage: package_test.sh BUILD_DIR VERSION
set -uo pipefail
build="$1"
version="$2"
source "$(dirname "$0")/installedprograms.sh"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$work/cpack.log")"
package="$work/out/vyr2-sty-tool_${version}_amd64.deb"
[ -f "$package" ] || fail "no $package: $(ls "$work/out")"

depends="$(dpkg-deb -f "$package" Depends)"
for library in libqt6widgets6 libqt6gui6 libqt6core6 libpng16-16 libgif7 libminizip1; do
    grep -q "\b$library\b" <<<"$depends" || fail "the package does not depend on $library: $depends"
done
[ "$(dpkg-deb -f "$package" Package)" = vyr2-sty-tool ] || fail "the package has another name"

dpkg-deb -x "$package" "$work/root" || fail "dpkg-deb -x failed"
for file in usr/share/man/man1/vyr2-sty.1 usr/share/man/man1/vyr2-sty-tool.1 \
    usr/share/bash-completion/completions/vyr2-sty usr/share/applications/vyr2-sty-tool.desktop \
    usr/share/mime/packages/vyr2-style.xml usr/share/icons/hicolor/scalable/apps/vyr2-sty-tool.svg; do
    [ -f "$work/root/$file" ] || fail "the package lacks $file"
done
check_installed_programs "$work/root/usr/bin" "$work" "$version"
echo "packed, unpacked and checked $(basename "$package")"
