#!/usr/bin/env bash
# Takes the README's screenshots: starts the built program (build/app/lumbra,
# from scripts/build.sh; this script builds nothing) in a program folder of
# its own on Xvfb, with a library of a few drawn pictures, drives it with
# xdotool as a person would, and writes one PNG per window into docs/.
# Needs xvfb, xdotool, x11-utils and imagemagick (scripts/install-dependencies.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
docs=$(pwd)/docs
binary=build/app/lumbra
tool=build/bench/onscreen_tool
for file in "$binary" "$tool"; do
    [ -x "$file" ] || { echo "$file is missing: run scripts/build.sh first" >&2; exit 1; }
done

source scripts/x-server.sh

# --- a library of a few pictures, named as a person names them -----------------
mkdir -p "$work/pictures" "$work/program"
cd "$work/pictures"
convert -size 640x400 gradient:'#f6b26b-#7e5a8e' -fill '#fbe7a1' -draw 'circle 420,250 420,205' \
    -fill '#2d2540' -draw 'polygon 0,300 120,240 240,300 380,230 520,290 640,250 640,400 0,400' 日落.jpg
convert -size 640x400 gradient:'#9fc5e8-#e8f1f8' -fill '#6d7b8d' \
    -draw 'polygon 0,330 160,130 300,300 420,160 640,330 640,400 0,400' \
    -fill white -draw 'polygon 130,166 160,130 190,166 175,160 160,172 145,160' \
    -fill '#4f7a4a' -draw 'rectangle 0,330 640,400' 山景.jpg
convert -size 640x400 xc:'#f6f2ea' -fill '#2a9d8f' -draw 'rectangle 315,230 325,400' \
    -fill '#e76f51' -draw 'circle 230,150 230,105' -fill '#f4a261' -draw 'circle 400,170 400,125' \
    -fill '#e9c46a' -draw 'circle 320,240 320,195' 花园.jpg
convert -size 640x400 gradient:'#bfe3f2-#ffffff' -fill '#3d85c6' -draw 'rectangle 0,220 640,300' \
    -fill '#f1dca7' -draw 'polygon 0,300 640,270 640,400 0,400' -fill '#fff2cc' -draw 'circle 110,90 110,60' 海边.jpg
cd - >/dev/null
QT_QPA_PLATFORM=offscreen "$tool" library "$work/program" \
    "$work/pictures/山景.jpg" "$work/pictures/日落.jpg" "$work/pictures/花园.jpg" "$work/pictures/海边.jpg" \
    2>/dev/null || fail "the library could not be made"
mkdir "$work/photos" "$work/empty"
QT_QPA_PLATFORM=offscreen "$tool" photos "$work/photos" 1920 1080 100 >/dev/null 2>&1 ||
    fail "the photos could not be made"

# --- the X server ----------------------------------------------------------------
start_x_server 1024x768
# A home of its own: nothing of the user's reaches the windows.
mkdir "$work/home"
export HOME="$work/home"

# The id of a visible window of the program with exactly this caption, if any.
shown() {
    local id
    for id in $(xdotool search --onlyvisible --class lumbra 2>/dev/null); do
        if [ "$(xprop -id "$id" _NET_WM_NAME 2>/dev/null)" = "_NET_WM_NAME(UTF8_STRING) = \"$1\"" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

# Waits until a window with exactly this caption shows, gives it the keyboard
# (there is no window manager to do so) and prints its id.
await() {
    local id
    for _ in $(seq 100); do
        if id=$(shown "$1"); then
            xdotool windowfocus --sync "$id"
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    fail "no window captioned \"$1\""
}

# Writes docs/NAME.png from a part of the screen (WIDTHxHEIGHT+X+Y), once
# whatever was asked of the program has been painted.
shoot() {
    sleep 0.5
    import -window root -crop "$2" +repage -strip -define png:compression-level=9 "$docs/$1.png"
    echo "docs/$1.png"
}

# The rectangle a window covers on the screen, as WIDTHxHEIGHT+X+Y.
area() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "${WIDTH}x${HEIGHT}+${X}+${Y}"
}

# Starts the program in a program folder of its own and waits until the
# log-in window (its id in login) takes Enter: it reads the accounts in the
# background and takes Enter only then; on a first start that read writes
# the default account.
start() {
    cp "$binary" "$1/lumbra"
    "$1/lumbra" >>"$work/program.log" 2>&1 &
    program=$!
    login=$(await "我的程序")
    for _ in $(seq 100); do
        [ -s "$1/system.dat" ] && return 0
        sleep 0.1
    done
    fail "the default account was not written"
}

# Ends the program through 退出, the last item of the main window's menu.
quit() {
    xdotool mousemove $((left + 275)) $((top + 435)) click 3
    sleep 0.5
    xdotool key Up Return
    for _ in $(seq 100); do
        kill -0 "$program" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$program" 2>/dev/null && fail "the program did not end from its menu"
    wait "$program" || true
    program=
}

# Logs in with Enter and notes the main window's id and place; points in it
# are taken from its layout (MainWindow.cpp).
log_in() {
    xdotool key Return
    main=$(await " Lumbra v2008.3")
    eval "$(xdotool getwindowgeometry --shell "$main")"
    left=$X top=$Y width=$WIDTH height=$HEIGHT
}

# --- the windows ---------------------------------------------------------------------
start "$work/program"
shoot login-window "$(area "$login")"
log_in
# The first row of the list, then the second: 日落.
xdotool mousemove $((left + 466)) $((top + 38)) click 1
xdotool key Down
shoot main-window "$(area "$main")"

xdotool key Return
await " " >/dev/null
shoot viewer-window 1024x768+0+0
xdotool key Escape

await " Lumbra v2008.3" >/dev/null
xdotool mousemove $((left + 275)) $((top + 435)) click 3
sleep 0.5
xdotool key Down Return
password=$(await "修改用户口令")
shoot password-window "$(area "$password")"
xdotool key Escape

# Help opens where the menu was asked for; a click closes it.
await " Lumbra v2008.3" >/dev/null
xdotool mousemove $((left + 30)) $((top + 60)) click 3
sleep 0.5
xdotool key Down Down Down Down Return
shoot help-panel "$(area "$main")"
xdotool mousemove $((left + 60)) $((top + 80)) click 1

# A password of one's own seals the library, and its recovery key shows once.
xdotool mousemove $((left + 275)) $((top + 435)) click 3
sleep 0.5
xdotool key Down Return
await "修改用户口令" >/dev/null
# The user box has the focus at first.
xdotool key Tab
xdotool type 3196
xdotool key Tab
xdotool type Lumbra2008
xdotool key Tab
xdotool type Lumbra2008
xdotool key Return
recovery=$(await "恢复密钥")
shoot recovery-key-window "$(area "$recovery")"
xdotool key Return
await " Lumbra v2008.3" >/dev/null
quit

# Without its accounts file the default account comes back, and the sealed
# library asks for its recovery key.
rm "$work/program/system.dat"
start "$work/program"
xdotool key Return
recovery=$(await "恢复密钥")
shoot recovery-key-asked "$(area "$recovery")"
xdotool key Escape
for _ in $(seq 100); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
wait "$program" || true
program=

# A hundred photos at once into a new library: the whole folder, chosen in
# the add dialog.
start "$work/empty"
log_in
xdotool mousemove $((left + 515)) $((top + 321)) click 1
dialog=$(await "请选择要导入的图片")
xdotool type "$work/photos/"
xdotool key Return
eval "$(xdotool getwindowgeometry --shell "$dialog")"
# The first click closes the name box's completion list; the dialog lists
# the folder's files a moment later. Until both are done a click and Ctrl+A
# choose nothing and Enter adds nothing. The progress dialog's caption is
# the program's name.
progress=
for _ in $(seq 10); do
    sleep 0.5
    xdotool mousemove $((X + 200)) $((Y + 70)) click 1
    xdotool key ctrl+a
    sleep 0.2
    xdotool key Return
    for _ in $(seq 20); do
        progress=$(shown Lumbra) && break 2
        sleep 0.1
    done
done
[ -n "$progress" ] || fail "adding the folder showed no progress"
# The main window and the progress dialog, which stands out of it.
eval "$(xdotool getwindowgeometry --shell "$progress")"
right=$((X + WIDTH > left + width ? X + WIDTH : left + width))
bottom=$((Y + HEIGHT > top + height ? Y + HEIGHT : top + height))
shoot multi-add-progress "$((right - left))x$((bottom - top))+$left+$top"
for _ in $(seq 100); do
    shown Lumbra >/dev/null || break
    sleep 0.2
done
quit
