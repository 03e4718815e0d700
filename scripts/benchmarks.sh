#!/usr/bin/env bash
# Builds the benchmark programs, runs each with repetitions, and prints the performance table
# (medians) as Markdown. With --update-readme the table also replaces the one in README.md.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

install_missing_packages
build_tree "$ROOT/build" >/dev/null

table="$(mktemp)"
trap 'rm -f "$table"' EXIT
{
    echo "Measured on $(nproc) cores of $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(date +%Y-%m-%d); medians of 5 runs."
    echo
    echo "| measure | time against a plain copy | time | aim |"
    echo "|---|---|---|---|"
    for bench in loadsave tiles sprites deltas history folder window drawing; do
        # A program that fails or prints no row is named, rather than leaving its rows out unseen.
        if ! output="$("$ROOT/build/bench/${bench}_bench" --benchmark_repetitions=5 \
            --benchmark_report_aggregates_only=true 2>/dev/null)"; then
            echo "benchmarks.sh: ${bench}_bench failed" >&2
            exit 1
        fi
        grep '^| ' <<<"$output" || { echo "benchmarks.sh: ${bench}_bench printed no row" >&2; exit 1; }
    done
} >"$table"
cat "$table"

if [ "${1:-}" = "--update-readme" ]; then
    python3 - "$ROOT/README.md" "$table" <<'PY'
import sys
readme, table = sys.argv[1], open(sys.argv[2]).read()
text = open(readme).read()
start, end = "<!-- performance table -->\n", "<!-- end of performance table -->\n"
head, rest = text.split(start)
_, tail = rest.split(end)
open(readme, "w").write(head + start + table + end + tail)
PY
fi
