#!/usr/bin/env bash
# Stands in for a program whose help follows the agreed shape, so the man page and completion
# generator is checked against that shape whatever the real programs print today.
case "$*" in
--help)
    printf '%s\n' "Usage: fake-sty COMMAND [ARGUMENTS] [OPTIONS]" "" "Commands:" \
        "  info          the load log, then a summary of every table" \
        "  export-tiles  every tile as a bitmap; the pattern's \\n and 50% stay" \
        "" "Options:" "  -h, --help     this list" "  -V, --version  the version" ;;
--version) echo "fake-sty 1.2 (abc1234)" ;;
"help info")
    printf '%s\n' "Usage: fake-sty info FILE.sty [--json]" "" "Print the load log; lines may start" \
        ".with a dot or 'quote." "" "Options:" "  --json  one JSON document" \
        "  --strict  refuse a damaged file" "            instead of warning" "" "Example:" \
        "  fake-sty info sample.sty" "  fake-sty info --json sample.sty" ;;
"help export-tiles")
    printf '%s\n' "Usage: fake-sty export-tiles FILE.sty DIR [--pattern P] [--png]" "" \
        "Every tile as a file." "" "Options:" "  --pattern P, --pattern=P  names; default VYR2_TILE_%d.bmp" \
        "  --png                      write PNG files" "" "Example:" "  fake-sty export-tiles a.sty out" ;;
*) echo "unknown" >&2; exit 2 ;;
esac
