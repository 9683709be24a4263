#!/usr/bin/env bash
# Starts the program on a real X server, in a program folder of its own, and
# reads the captions its windows carry there, as a task bar or a window
# manager shows them: exactly the windows' own titles, nothing appended.
# The program is given a toolkit option that would keep it off the screen:
# it reads no command line, so its windows show all the same. Its exit menu
# item ends it with status 0.
# Usage: NativeCaptions.sh path/to/lumbra
set -euo pipefail

binary=$1
source "$(dirname "$0")/../scripts/x-server.sh"
start_x_server 1280x800

# The caption of every visible top-level window, one per line.
captions() {
    for id in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
        xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'
    done
}

# Waits until a window with exactly this caption shows, and gives it the
# keyboard (there is no window manager to do so).
await() {
    local caption=$1
    for _ in $(seq 100); do
        for id in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
            if [ "$(xprop -id "$id" _NET_WM_NAME 2>/dev/null)" = "_NET_WM_NAME(UTF8_STRING) = \"$caption\"" ]; then
                xdotool windowfocus --sync "$id"
                return 0
            fi
        done
        sleep 0.1
    done
    fail "no window captioned \"$caption\"; the captions are: $(captions | tr '\n' '|')"
}

cp "$binary" "$work/lumbra"
"$work/lumbra" -platform offscreen >"$work/program.log" 2>&1 &
program=$!

await "我的程序"
# The log-in window reads the accounts in the background and takes no
# log-in before; on a first start that read writes the default account.
for _ in $(seq 100); do
    [ -s "$work/system.dat" ] && break
    sleep 0.1
done
[ -s "$work/system.dat" ] || fail "the default account was not written"
xdotool key ctrl+a type x
xdotool key Return
await "错误"
xdotool key Return

await "我的程序"
xdotool key ctrl+a type 3196
xdotool key Return
await " Lumbra v2008.3"

# The main window's menu opens the password window.
xdotool mousemove 300 420 click 3
sleep 0.5
xdotool key Down Return
await "修改用户口令"
xdotool key Tab type 3196
xdotool key Tab type a
xdotool key Tab type b
xdotool key Return
# A message box without a title of its own shows the program's name alone.
await "Lumbra"
xdotool key Return
await "修改用户口令"
xdotool key Escape

if captions | grep -q "—"; then
    fail "a caption carries an appended name: $(captions | tr '\n' '|')"
fi

# The menu's last item, "退出", ends the program.
xdotool mousemove 300 420 click 3
sleep 0.5
xdotool key Up Return
for _ in $(seq 100); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "the exit menu item did not end the program"
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "native captions are the windows' own titles; the command line is not read; the exit status is 0"
