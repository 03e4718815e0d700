#!/usr/bin/env bash
# Installs the build into a fresh prefix, as `cmake --install` does for a user, and checks what
# was put there: both programs run from it, the man pages render and name every command, the
# completion offers the commands and options, the desktop entry, MIME type and icon are valid.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR VERSION
set -uo pipefail
build="$1"
sources="$2"
version="$3"
source "$(dirname "$0")/installedprograms.sh"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix with space"
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"

check_installed_programs "$prefix/bin" "$work" "$version"

for program in vyr2-sty vyr2-sty-tool; do
    [ -z "$(readelf -d "$prefix/bin/$program" | grep -F "$build")" ] ||
        fail "$program searches the build tree for libraries"
    # Past its debugging information, nothing in the program names the build or source tree.
    strip -o "$work/$program.stripped" "$prefix/bin/$program"
    [ -z "$(strings "$work/$program.stripped" | grep -F -e "$build" -e "$sources")" ] ||
        fail "$program has a path of the build or source tree built in"
    page="$prefix/share/man/man1/$program.1"
    [ -f "$page" ] || fail "no man page $page"
    warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >"$work/$program.txt")"
    [ -z "$warnings" ] || fail "man warns about $page: $warnings"
    grep -q "^NAME" "$work/$program.txt" || fail "$page renders without a NAME section"
done
grep -qx "Usage: vyr2-sty-tool \[FILE.sty\]" <("$prefix/bin/vyr2-sty-tool" --help) ||
    fail "vyr2-sty-tool --help does not start with its usage"
grep -q "^SYNOPSIS" -A1 "$work/vyr2-sty-tool.txt" || fail "the editor's man page has no synopsis"
grep -q -- "--version" "$work/vyr2-sty-tool.txt" || fail "the editor's man page lacks --version"

# Every command the help lists has its section in the man page and is offered by the completion.
completion="$prefix/share/bash-completion/completions/vyr2-sty"
[ -f "$completion" ] || fail "no bash completion"
source "$completion"
complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _vyr2_sty
    printf '%s\n' "${COMPREPLY[@]}"
}
offered="$(complete_words vyr2-sty "")"
commands="$("$prefix/bin/vyr2-sty" --help | sed -n '/^Commands:$/,/^$/s/^  \([^ ]\+\).*/\1/p')"
for command in $commands; do
    grep -qx "   $command" "$work/vyr2-sty.txt" || fail "the man page has no section for $command"
    grep -qx "$command" <<<"$offered" || fail "the completion does not offer $command"
done

desktop="$prefix/share/applications/vyr2-sty-tool.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate refuses $desktop"
grep -qx "Exec=vyr2-sty-tool %f" "$desktop" || fail "the desktop entry does not pass the file"
icon="$prefix/share/icons/hicolor/scalable/apps/vyr2-sty-tool.svg"
xmllint --noout "$icon" || fail "the icon is no SVG"
xmllint --noout "$prefix/share/mime/packages/vyr2-style.xml" || fail "the MIME type is no XML"

# The MIME database built from the installed type knows .sty files by name and by their magic.
update-mime-database "$prefix/share/mime" 2>"$work/mime.log" ||
    fail "update-mime-database refuses the MIME type: $(cat "$work/mime.log")"
grep -qx "50:application/x-vyr2-style:\*.sty" "$prefix/share/mime/globs2" ||
    fail "the MIME database has no *.sty glob: $(cat "$prefix/share/mime/globs2")"
grep -q "GBST" "$prefix/share/mime/magic" || fail "the MIME database has no GBST magic"
echo "installed and checked in $prefix"
