#!/usr/bin/env bash
# The man page and completion generator against a program whose help has the agreed shape:
# every command, option and example reaches the page as the program wrote it, roff's special
# characters included, and the completion offers what the help lists.
# Usage: helpdocs_test.sh HELPDOCS_SCRIPT
set -uo pipefail
source "$(dirname "$0")/installedprograms.sh"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cmake "-DPROGRAM=$(dirname "$0")/contracthelp.sh" -DNAME=fake-sty "-DSUMMARY=tool for \\ files" \
    "-DMAN=$work/fake-sty.1" "-DCOMPLETION=$work/fake-sty" "-DSEE_ALSO=vyr2-sty-tool(1)" -P "$1" ||
    fail "the generator failed"

warnings="$(LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -l "$work/fake-sty.1" 2>&1 >"$work/page.txt")"
[ -z "$warnings" ] || fail "man warns: $warnings"
page="$(sed 's/^ *//' "$work/page.txt")"
for line in "fake-sty - tool for \\ files" "fake-sty COMMAND [ARGUMENTS] [OPTIONS]" \
    "-V, --version" "the load log, then a summary of every table" \
    "every tile as a bitmap; the pattern's \\n and 50% stay" "fake-sty info FILE.sty [--json]" \
    "Print the load log; lines may start .with a dot or 'quote." "--json one JSON document" \
    "refuse a damaged file instead of warning" "fake-sty info --json sample.sty" \
    "--pattern P, --pattern=P" "names; default VYR2_TILE_%d.bmp" "fake-sty export-tiles a.sty out" \
    "vyr2-sty-tool(1)" "fake-sty 1.2 (abc1234)"; do
    grep -qF -- "$line" <<<"$page" || fail "the page lacks \"$line\": $page"
done
[ "$(grep -c '^   \(info\|export-tiles\)$' "$work/page.txt")" = 2 ] || fail "no section for each command"

source "$work/fake-sty"
offered() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _fake_sty
    echo "${COMPREPLY[*]}"
}
[ "$(offered fake-sty "")" = "info export-tiles -h --help -V --version" ] || fail "first word: $(offered fake-sty "")"
[ "$(offered fake-sty help e)" = "export-tiles" ] || fail "help: $(offered fake-sty help e)"
[ "$(offered fake-sty export-tiles a.sty --p)" = "--pattern --png" ] || fail "options: $(offered fake-sty export-tiles a.sty --p)"
[ "$(offered fake-sty info --)" = "--json --strict --help" ] || fail "options: $(offered fake-sty info --)"
[ -z "$(offered fake-sty info sam)" ] || fail "a file name was completed as a word"
echo "generated and checked"
