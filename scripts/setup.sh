#!/usr/bin/env bash
# Shared by run-editor.sh, run-tests.sh and package.sh: installs the Debian packages the build needs when
# they are missing, configures and builds one build folder, and checks the sources with clang-format and
# clang-tidy.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# ccache caches compiles that read a precompiled header only with this sloppiness; the header is part
# of what it hashes.
export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}"

PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev libgif-dev libpng-dev libssl-dev libminizip-dev zlib1g-dev libxxhash-dev libxcb1-dev xvfb xauth
          git python3-jsonschema clang-tidy-22 clang-format dpkg-dev desktop-file-utils libxml2-utils man-db
          shared-mime-info)

install_missing_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# check_format: every C++ file of the program, its tests, benchmarks and fuzzers is laid out as
# clang-format lays it out with the repository's .clang-format.
check_format() {
    (cd "$ROOT" && find src tests bench fuzz -name '*.cpp' -o -name '*.h' | sort |
        xargs clang-format --dry-run --Werror)
}

# check_tidy FOLDER: clang-tidy with the repository's .clang-tidy over the program's sources, with the
# compile commands of the built FOLDER (its generated headers must exist). Any finding fails.
check_tidy() {
    local commands="$1/tidy"
    mkdir -p "$commands"
    # The commands of the program's own sources (tests and generated files are not checked), one for
    # each source of a unit that compiles several (it names them in its #include lines), without the
    # GCC precompiled header clang cannot read: the sources include what they use.
    python3 - "$1/compile_commands.json" "$ROOT/src/" "$commands/compile_commands.json" <<'PYTHON' |
import json, shlex, sys
entries = []
for unit in json.load(open(sys.argv[1])):
    words = shlex.split(unit["command"])
    sources = [unit["file"]]
    if "/Unity/unity_" in unit["file"]:
        sources = [line.split('"')[1] for line in open(unit["file"]) if line.startswith('#include "')]
    for source in sources:
        if not source.startswith(sys.argv[2]):
            continue
        kept = []
        for word in words:
            if word.endswith("/cmake_pch.hxx") and kept[-1:] == ["-include"]:
                kept.pop()
            elif word != "-Winvalid-pch":
                kept.append(source if word == unit["file"] else word)
        entries.append({"directory": unit["directory"], "file": source, "arguments": kept})
        print(source)
json.dump(entries, open(sys.argv[3], "w"), indent=1)
PYTHON
        xargs -P "$(nproc)" -n 1 clang-tidy-22 -p "$commands" --quiet 2>&1 |
        { grep -v -E '^[0-9]+ warnings? generated\.$' || true; } # counts of the libraries' hidden warnings
}

# configure_tree FOLDER [cmake options...]
configure_tree() {
    local folder="$1"
    shift
    cmake -S "$ROOT" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

# build_tree FOLDER [cmake options...]: every target, tests and benchmarks included.
build_tree() {
    configure_tree "$@"
    cmake --build "$1" -j "$(nproc)"
}
