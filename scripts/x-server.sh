# Sourced by the scripts that drive the program on a real X server: a work
# folder, an Xvfb on a display it picks itself, and, on failure, the output
# of the program and the server. The sourcing script puts the program's
# output into "$work/program.log" and sets "program" to its process id.
work=$(mktemp -d)
server=
program=
cleanup() {
    local status=$?
    if [ "$status" -ne 0 ]; then
        for log in program server; do
            [ -s "$work/$log.log" ] || continue
            echo "--- the $log's output:" >&2
            cat "$work/$log.log" >&2
        done
    fi
    [ -n "$program" ] && kill "$program" 2>/dev/null || true
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# Starts Xvfb with a screen of this size (e.g. 1280x800) and points DISPLAY
# at it. The server picks a free display itself and writes its number to a
# pipe once it accepts connections, so that another server starting at the
# same time cannot take the same one. Without -noreset it would reset
# whenever its last client leaves, and drop a connection arriving meanwhile.
start_x_server() {
    mkfifo "$work/display"
    Xvfb -displayfd 3 -noreset -screen 0 "$1x24" -nolisten tcp 3>"$work/display" >"$work/server.log" 2>&1 &
    server=$!
    local display
    read -r -t 30 display <"$work/display" || fail "the X server did not start"
    export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
}
