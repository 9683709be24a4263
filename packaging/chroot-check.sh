#!/usr/bin/env bash
# Installs build/lumbra_*.deb on a fresh Debian 12 made by debootstrap in
# build/chroot/, starts the desktop entry's Exec line as an ordinary user
# under Xvfb there, logs in, and checks that the library was made in that
# user's data folder. Needs root, debootstrap and Debian's package mirror;
# removes the chroot afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

root=build/chroot/bookworm
deb=$(ls build/lumbra_*_amd64.deb)
[ "$(id -u)" -eq 0 ] || { echo "run as root" >&2; exit 1; }
command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap

cleanup() {
    if mountpoint -q "$root/proc"; then umount "$root/proc"; fi
    if ! grep -q " $(realpath "$root")/" /proc/mounts; then rm -rf build/chroot; fi
}
trap cleanup EXIT

rm -rf build/chroot
mkdir -p build/chroot
debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >/dev/null
mount -t proc proc "$root/proc"
cp "$deb" "$root/root/"

# Only the package's own dependencies, so a missing one shows.
chroot "$root" /bin/bash -euo pipefail -c '
    export DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 HOME=/root
    cd /root
    apt-get update -qq
    apt install -y -qq --no-install-recommends ./lumbra_*.deb
    apt-get install -y -qq --no-install-recommends xvfb xdotool >/dev/null

    # Waits up to ten seconds for a window whose title matches.
    window() {
        for _ in $(seq 20); do
            xdotool search --name "$1" 2>/dev/null | head -1 && return 0
            sleep 0.5
        done
        echo "no window named $1" >&2
        return 1
    }

    # The display and the program end with this shell, however it ends.
    trap "kill \$(jobs -p) 2>/dev/null" EXIT
    Xvfb :77 -nolisten tcp >/dev/null 2>&1 &
    sleep 2
    export DISPLAY=:77
    command=$(sed -n "s/^Exec=//p" /usr/share/applications/example.vostrand.Lumbra.desktop)
    echo "starting the desktop entry as an ordinary user: $command"
    useradd --create-home anna
    cd /tmp
    runuser -u anna -- env HOME=/home/anna DISPLAY=:77 $command &
    login=$(window "我的程序")
    echo "log-in window: $(xdotool getwindowname "$login")"
    sleep 1
    xdotool windowfocus --sync "$login" key Return
    main=$(window "Lumbra v")
    echo "main window: $(xdotool getwindowname "$main")"

    data=/home/anna/.local/share/Lumbra
    for file in system.dat pic.edb pic.EDT; do
        [ -s "$data/$file" ] || { echo "no $data/$file" >&2; exit 1; }
    done
    [ "$(stat -c %U "$data/pic.edb")" = anna ] || { echo "$data/pic.edb does not belong to anna" >&2; exit 1; }
    if ls /usr/bin | grep -qE "^(system\.dat|pic\.(edb|EDT)|lumbra\.(lock|ini))$"; then
        echo "data written beside the program in /usr/bin" >&2; exit 1
    fi
    echo "library made in $data: $(ls "$data" | tr "\n" " ")"
'
echo "installed and started in a fresh Debian 12"
