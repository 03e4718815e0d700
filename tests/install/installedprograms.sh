# Checks shared by the install and package tests: the installed programs run from where they were
# put, on a style file the installed vyr2-sty writes itself.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# check_editor_shows EDITOR STYLE: the editor starts offscreen on STYLE and paints its main window.
check_editor_shows() {
    local editor="$1" style="$2" log
    log="$(dirname "$style")/editor.log"
    QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="qt.widgets.painting=true" \
        "$editor" "$style" 2>"$log" &
    local pid=$!
    local shown=""
    for _ in $(seq 300); do
        if grep -q "Drawing QRegion.* of Twnd_editor(.*DrawAsRoot" "$log"; then
            shown=yes
            break
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    [ -n "$shown" ] || fail "the editor's window was never shown: $(grep -v '^qt\.' "$log" | head -5)"
}

# check_installed_programs BINDIR WORKDIR VERSION
check_installed_programs() {
    local bin="$1" work="$2" version="$3"
    [ -x "$bin/vyr2-sty" ] || fail "no vyr2-sty in $bin"
    [ -x "$bin/vyr2-sty-tool" ] || fail "no vyr2-sty-tool in $bin"
    local output
    output="$("$bin/vyr2-sty-tool" --version)" || fail "vyr2-sty-tool --version failed"
    [[ "$output" == "vyr2-sty-tool $version"* ]] || fail "vyr2-sty-tool --version printed: $output"
    output="$("$bin/vyr2-sty" --version)" || fail "vyr2-sty --version failed"
    [[ "$output" == "vyr2-sty $version ("* ]] || fail "vyr2-sty --version printed: $output"

    "$bin/vyr2-sty" sample "$work/sample.sty" >/dev/null || fail "vyr2-sty sample failed"
    output="$("$bin/vyr2-sty" info "$work/sample.sty" 2>&1)" || fail "vyr2-sty info failed: $output"
    grep -qx "tile pages: 2, tiles: 32" <<<"$output" || fail "vyr2-sty info did not read the sample: $output"

    check_editor_shows "$bin/vyr2-sty-tool" "$work/sample.sty"
}
