#!/usr/bin/env bash
# Installs what is missing, builds Lumbra and starts it. The program runs
# from my-library/, which holds the picture library and the accounts beside
# it, outside build/: deleting a build never deletes pictures.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-dependencies.sh
scripts/build.sh lumbra
home=my-library
mkdir -p "$home"
# Earlier versions of this script kept the library in build/app/: it moves
# here once, unless a program still has it open or a library is here already.
old=build/app
if [ -e "$old/pic.edb" ] && [ ! -e "$home/pic.edb" ] && [ ! -e "$home/pic.EDT" ]; then
    if [ -e "$old/lumbra.lock" ] && ! flock -n "$old/lumbra.lock" true; then
        echo "The library in $old/ is open in a running Lumbra; close it and run this again to move it to $home/." >&2
        exit 1
    fi
    echo "Moving the library from $old/ to $home/"
    for entry in "$old"/pic.edb* "$old"/pic.EDT* "$old"/system.dat "$old"/lumbra.ini "$old"/lumbra.intent "$old"/BAK; do
        if [ -e "$entry" ]; then mv -n "$entry" "$home/"; fi
    done
fi
cp build/app/lumbra "$home/lumbra.new"
mv -f "$home/lumbra.new" "$home/lumbra"
exec "$home/lumbra"
