#!/usr/bin/env bash
# Measures on a real X server (Xvfb, 1920 x 1080) what a user of Lumbra waits
# for: pixels on screen after a key, a click or a start, and the memory the
# program takes, next to the peer viewer lximage-qt and a bare Qt window in
# the same run. Prints a Markdown table of medians; with --write-docs it also
# puts the table into docs/performance.md. Benchmark only: it installs
# lximage-qt and what it needs to build the pixel poller, never part of the
# tests.
#
# Usage: bench/onscreen/run.sh [--write-docs]     (RUNS=n sets the repeats)
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$(pwd)
write_docs=0
[ "${1:-}" = "--write-docs" ] && write_docs=1
runs=${RUNS:-15}

say() { echo "== $*" >&2; }
die() { echo "FAILED: $*" >&2; exit 1; }

# --- what it needs -----------------------------------------------------------
needed=(lximage-qt libxtst-dev libx11-dev xvfb x11-xserver-utils dbus procps python3)
missing=()
for package in "${needed[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    say "installing ${missing[*]}"
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
scripts/install-dependencies.sh
say "building"
scripts/build.sh lumbra onscreen_tool >/dev/null
data="$repo/build/onscreen"
mkdir -p "$data"
cc -O2 -o "$data/xpoll" bench/onscreen/xpoll.c -lX11 -lXtst
xpoll="$data/xpoll"
tool="$repo/build/bench/onscreen_tool"
lumbra="$repo/build/app/lumbra"

# --- test pictures (kept between runs) -----------------------------------------
make_photos() { # folder width height count
    if [ ! -s "$1/colours" ]; then
        mkdir -p "$1"
        QT_QPA_PLATFORM=offscreen "$tool" photos "$1" "$2" "$3" "$4" >"$1/colours" 2>/dev/null
    fi
}
say "making test photos"
make_photos "$data/hd" 1920 1080 100
make_photos "$data/mp12" 4000 3000 24
hostile="$data/hostile"
if [ ! -s "$hostile/png-30000.png" ]; then
    mkdir -p "$hostile"
    QT_QPA_PLATFORM=offscreen "$tool" progressive "$data/small.jpg" 64 64 2>/dev/null
    QT_QPA_PLATFORM=offscreen "$tool" progressive "$data/large.jpg" 2000 2000 2>/dev/null
    python3 bench/onscreen/hostile.py "$hostile" "$data/small.jpg" "$data/large.jpg"
fi
colour_of() { sed -n "$(($2 + 1))p" "$1/colours" | cut -d' ' -f2; }

# --- the X server ----------------------------------------------------------------
work=$(mktemp -d)
cleanup() {
    # Whatever this script left running: its own background jobs, and the
    # peer viewer under its D-Bus session.
    [ -z "${lximage_pid:-}" ] || kill "$lximage_pid" 2>/dev/null || true
    for job in $(jobs -p); do kill "$job" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
# The server picks a free display itself and writes its number to the pipe
# once it accepts connections. -noreset keeps it, and what xset sets, when
# its last client leaves; a reset would drop a client that connects then.
mkfifo "$work/display"
Xvfb -displayfd 3 -noreset -screen 0 1920x1080x24 -br -nolisten tcp 3>"$work/display" >"$work/server.log" 2>&1 &
read -r -t 30 display <"$work/display" || die "Xvfb did not start: $(cat "$work/server.log")"
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb

# --- helpers -----------------------------------------------------------------------
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b == "-" || b == 0) print "-"; else printf "%.2f×\n", a / b }'; }
peak_mb() { awk '/VmHWM/ { printf "%.0f\n", $2 / 1024 }' "/proc/$1/status"; }
stop() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }
row_point() { echo "520,$((88 + 14 * $1))"; }
# Inside the log-in window (240 × 156 at 50, 50) and the bare window alike.
login_point=100,100
# The first row of the main window's list, where the log-in window never is.
list_point=$(row_point 0)
centre=960,528
preview=245,270
# In lximage-qt's menu bar, which full screen hides.
lximage_menu=1000,60
# The root window is black (-br): each start waits until the windows of the
# one before have gone, so that the first change it sees is its own.
await_clear() {
    local point
    for point in $login_point $list_point $centre $lximage_menu; do
        "$xpoll" wait --at "$point" --expect 000000 --tolerance 8 --timeout 10000 >/dev/null ||
            die "a window stayed at $point after its program ended"
    done
}

# A program folder holding a library of these files, with Lumbra in it.
make_program() { # folder files...
    local folder=$1
    shift
    mkdir -p "$folder"
    cp "$lumbra" "$folder/lumbra"
    QT_QPA_PLATFORM=offscreen "$tool" library "$folder" "$@" 2>/dev/null || die "cannot build a library in $folder"
}
# Starts Lumbra and logs in with the password the box holds at start. The
# keyboard follows the pointer, which rests on the log-in window.
start_lumbra() { # folder
    lumbra_folder=$1
    "$xpoll" pointer $login_point
    "$1/lumbra" >/dev/null 2>&1 &
    lumbra_pid=$!
    "$xpoll" wait --at $login_point --changes --from 000000 --timeout 20000 >/dev/null ||
        die "no log-in window within 20 s of the start of $1/lumbra"
    "$xpoll" key Return --at $list_point --changes --from 000000 --timeout 20000 >/dev/null ||
        die "no main window within 20 s of Enter on the log-in window ($1/lumbra)"
}
# Ends Lumbra; its lock file goes as it does when the program is closed.
stop_lumbra() {
    stop "$lumbra_pid"
    rm -f "$lumbra_folder/lumbra.lock"
    await_clear
}

# --- viewer steps ------------------------------------------------------------------
# Steps forward through the photos as a person does, a moment between two
# presses; prints one time a step.
lumbra_steps() { # set count
    local set=$1 folder="$work/steps-$1"
    [ -d "$folder" ] || make_program "$folder" $(cut -d' ' -f1 "$data/$set/colours")
    start_lumbra "$folder"
    "$xpoll" click "$(row_point 0)" --double --at $centre --expect "$(colour_of "$data/$set" 0)" --timeout 20000 >/dev/null ||
        die "the viewer did not show the first photo"
    # The viewer covers the screen, the pointer too: it has the keyboard.
    for i in $(seq 1 "$2"); do
        sleep 0.3
        "$xpoll" key Right --at $centre --expect "$(colour_of "$data/$set" "$i")" --timeout 20000 || die "lumbra step $i"
    done
    lumbra_peak=$(peak_mb "$lumbra_pid")
    stop_lumbra
}
lximage_start() { # set
    # A fresh configuration each time: nothing remembered from before.
    rm -rf "$work/lximage-config"
    "$xpoll" pointer $centre
    XDG_CONFIG_HOME="$work/lximage-config" dbus-run-session -- lximage-qt "$data/$1/photo-000.jpg" >/dev/null 2>&1 &
    lximage_session=$!
    "$xpoll" wait --at $centre --expect "$(colour_of "$data/$1" 0)" --timeout 20000 >/dev/null ||
        die "lximage-qt did not show the first photo within 20 s"
    lximage_pid=$(pgrep -P "$lximage_session" -x lximage-qt) || die "no lximage-qt under its D-Bus session"
    "$xpoll" key F11 --at $lximage_menu --expect 000000 --tolerance 8 --timeout 20000 >/dev/null ||
        die "lximage-qt did not go full screen within 20 s of F11"
    sleep 0.5
}
# Ends lximage-qt; its D-Bus session ends with it.
lximage_stop() {
    kill "$lximage_pid" 2>/dev/null || true
    wait "$lximage_session" 2>/dev/null || true
    lximage_pid=""
    await_clear
}
lximage_steps() { # set count
    lximage_start "$1"
    for i in $(seq 1 "$2"); do
        sleep 0.3
        "$xpoll" key Right --at $centre --expect "$(colour_of "$data/$1" "$i")" --timeout 20000 || die "lximage-qt step $i"
    done
    lximage_peak=$(peak_mb "$lximage_pid")
    lximage_stop
}

say "viewer steps, 1920 x 1080 JPEG"
lumbra_steps hd "$runs" >"$work/lumbra-hd"
lximage_steps hd "$runs" >"$work/lximage-hd"
say "viewer steps, 12-megapixel JPEG"
lumbra_steps mp12 20 >"$work/lumbra-mp"
lumbra_mp_peak=$lumbra_peak
lximage_steps mp12 20 >"$work/lximage-mp"
lximage_mp_peak=$lximage_peak
lumbra_hd=$(median <"$work/lumbra-hd")
lximage_hd=$(median <"$work/lximage-hd")
lumbra_mp=$(median <"$work/lumbra-mp")
lximage_mp=$(median <"$work/lximage-mp")
decode_hd=$(QT_QPA_PLATFORM=offscreen "$tool" decode "$data/hd/photo-001.jpg" 1900 1010 15 2>/dev/null)
decode_mp=$(QT_QPA_PLATFORM=offscreen "$tool" decode "$data/mp12/photo-001.jpg" 1900 1010 15 2>/dev/null)

# --- a held arrow key ------------------------------------------------------------
# Holds Right for 3 s (the server repeats it), then times from the release
# to the last change on screen.
index_of() { # set colour
    awk -v c="$2" '
        function v(h, i) { h = tolower(h); return (index("0123456789abcdef", substr(h, i, 1)) - 1) * 16 + index("0123456789abcdef", substr(h, i + 1, 1)) - 1 }
        { d = (v($2,1)-v(c,1))^2 + (v($2,3)-v(c,3))^2 + (v($2,5)-v(c,5))^2; if (NR == 1 || d < best) { best = d; n = NR - 1 } }
        END { print n }' "$data/$1/colours"
}
xset r rate 250 30 2>/dev/null || true
say "a held arrow key"
lumbra_hold=() lximage_hold=() lumbra_reached=() lximage_reached=()
for _ in 1 2 3 4 5; do
    start_lumbra "$work/steps-hd"
    "$xpoll" click "$(row_point 0)" --double --at $centre --expect "$(colour_of "$data/hd" 0)" --timeout 20000 >/dev/null ||
        die "the viewer did not show the first photo"
    sleep 0.5
    read -r lag colour <<<"$("$xpoll" hold Right --seconds 3 --at $centre --timeout 30000)"
    lumbra_hold+=("$lag")
    lumbra_reached+=("$(index_of hd "$colour")")
    stop_lumbra
    lximage_start hd
    read -r lag colour <<<"$("$xpoll" hold Right --seconds 3 --at $centre --timeout 30000)"
    lximage_hold+=("$lag")
    lximage_reached+=("$(index_of hd "$colour")")
    lximage_stop
done
lumbra_hold_median=$(printf '%s\n' "${lumbra_hold[@]}" | median)
lximage_hold_median=$(printf '%s\n' "${lximage_hold[@]}" | median)

# --- start-up ------------------------------------------------------------------------
# Lumbra is started, Enter is pressed at the first sight of the log-in window,
# and the main window of a 100-picture library is awaited; the bare Qt window
# starts in turn with it.
say "start to log-in, Enter to main window"
start_folder="$work/start"
make_program "$start_folder" $(cut -d' ' -f1 "$data/hd/colours")
log_in_at_once() {
    "$xpoll" launch-key Return --at $login_point --changes --then $list_point --then-changes --from 000000 \
        --stop --timeout 20000 -- "$start_folder/lumbra"
}
# The first start writes the accounts file; the measured ones read it.
log_in_at_once >/dev/null || die "the first start did not reach the main window"
rm -f "$start_folder/lumbra.lock"
await_clear
for _ in $(seq "$runs"); do
    result=$(log_in_at_once) || die "a start did not reach the main window within 20 s: $result"
    read -r shown entered _ <<<"$result"
    echo "$shown" >>"$work/login-start"
    echo "$entered" >>"$work/login-enter"
    rm -f "$start_folder/lumbra.lock"
    await_clear
    result=$("$xpoll" launch --at $login_point --changes --from 000000 --stop --timeout 20000 -- "$tool" bare) ||
        die "the bare window did not show within 20 s"
    echo "${result%% *}" >>"$work/bare-start"
    await_clear
done
lumbra_start=$(median <"$work/login-start")
lumbra_enter=$(median <"$work/login-enter")
bare_start=$(median <"$work/bare-start")

# --- hostile files -------------------------------------------------------------------
say "hostile files"
# With the hostile picture selected, a click on the next row shows its photo.
click_after() { # file
    local folder="$work/click-$(basename "$1")"
    make_program "$folder" "$1" "$data/hd/photo-005.jpg" "$data/hd/photo-006.jpg"
    start_lumbra "$folder"
    "$xpoll" click "$(row_point 0)" --at $preview --changes --timeout 2000 >/dev/null || true
    sleep 0.3
    local ms
    ms=$("$xpoll" click "$(row_point 1)" --at $preview --expect "$(colour_of "$data/hd" 5)" --timeout 60000) || ms="> 60000"
    stop_lumbra
    echo "$ms"
}
click_png=$(click_after "$hostile/png-30000.png")
click_scans=$(click_after "$hostile/jpeg-100k-scans.jpg")
hostile_peaks=()
for file in "$hostile/png-text-1gb.png" "$hostile/jpeg-30000.jpg" "$hostile/jpeg-100k-scans.jpg"; do
    folder="$work/peak-$(basename "$file")"
    make_program "$folder" "$file" "$data/hd/photo-005.jpg"
    start_lumbra "$folder"
    "$xpoll" click "$(row_point 0)" --at $preview --changes --timeout 3000 >/dev/null || true
    sleep 3
    hostile_peaks+=("$(basename "$file") $(peak_mb "$lumbra_pid")")
    stop_lumbra
done
hostile_max=$(printf '%s\n' "${hostile_peaks[@]}" | awk '{ if ($2 > m) m = $2 } END { print m }')

# --- the table -----------------------------------------------------------------------
table=$(cat <<EOF
Measured by \`bench/onscreen/run.sh\` on $(date -u +%Y-%m-%d) (Xvfb 1920 × 1080, pixels read off the
screen by \`bench/onscreen/xpoll.c\`, input through XTest; both programs in the same run; medians).

| measure | Lumbra | lximage-qt | ratio | goal |
|---|---|---|---|---|
| viewer step to a 1920 × 1080 JPEG, key press → new pixels ($runs steps) | $lumbra_hd ms | $lximage_hd ms | $(ratio "$lumbra_hd" "$lximage_hd") | ≤ 0.8× |
| viewer step to a 12-megapixel JPEG (4000 × 3000, 20 steps) | $lumbra_mp ms | $lximage_mp ms | $(ratio "$lumbra_mp" "$lximage_mp") | ≤ 0.8× |
| hold Right 3 s (server repeat 30/s): last picture after release (5 holds) | $lumbra_hold_median ms, reached photo $(printf '%s ' "${lumbra_reached[@]}") | $lximage_hold_median ms, reached photo $(printf '%s ' "${lximage_reached[@]}") | | ≤ one step |
| peak memory stepping through 12-megapixel photos | $lumbra_mp_peak MB | $lximage_mp_peak MB | $(ratio "$lumbra_mp_peak" "$lximage_mp_peak") | ≤ 0.8× |
| start → log-in window that takes Enter (Enter pressed at its first pixels; $runs starts) | $lumbra_start ms | $bare_start ms (bare Qt window) | $(ratio "$lumbra_start" "$bare_start") | ≤ 1.5× |
| that Enter → main window shown, library of 100 pictures ($runs starts) | $lumbra_enter ms | | | ≤ 50 ms |
| 30000 × 30000 RGBA PNG selected: a click on another row shows its picture | $click_png ms | | | < 100 ms |
| 100,000-scan JPEG selected: a click on another row shows its picture | $click_scans ms | | | < 100 ms |
| peak memory with a hostile file under 2 MB selected (largest of: $(printf '%s MB, ' "${hostile_peaks[@]}" | sed 's/, $//')) | $hostile_max MB | | | < 300 MB |
| for scale: Qt decoding the same JPEG straight to the fitted size, alone | $decode_hd ms (1080p), $decode_mp ms (12 MP) | | | |
EOF
)
echo
echo "$table"
if [ $write_docs -eq 1 ]; then
    python3 - "$repo/docs/performance.md" "$table" <<'PYTHON'
import sys
path, table = sys.argv[1], sys.argv[2]
text = open(path, encoding="utf-8").read()
begin, end = "<!-- onscreen:begin -->", "<!-- onscreen:end -->"
block = begin + "\n" + table + "\n" + end
if begin in text:
    text = text[:text.index(begin)] + block + text[text.index(end) + len(end):]
else:
    text = text.rstrip("\n") + "\n\n## On screen\n\n" + block + "\n"
open(path, "w", encoding="utf-8").write(text)
PYTHON
    say "docs/performance.md written"
fi
