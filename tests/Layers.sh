#!/usr/bin/env bash
# Checks the layers of the program's folders: every include names its
# folder, and a folder includes only the folders below it, so that no
# include runs upward and no two folders include each other, nor any two
# classes.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A below=(
    [toolkit]=""
    [pictures]="seal toolkit"
    [seal]=""
    [config]="seal"
    [store]="config seal"
    [reasons]="config store pictures seal"
    [auth]="config seal toolkit"
    [viewer]="reasons pictures seal toolkit"
    [maintenance]="reasons config store seal toolkit"
    [mainwindow]="auth viewer maintenance reasons config store pictures seal toolkit"
    [app]="mainwindow auth viewer maintenance reasons config store pictures seal toolkit"
)

status=0
for folder in "${!below[@]}"; do
    sources=("$folder"/*.h "$folder"/*.cpp)
    if grep -Hn '^#include "[^/]*"' "${sources[@]}"; then
        echo "^ an include without its folder, in $folder/"
        status=1
    fi
    for used in $(sed -n 's|^#include "\([a-z]*\)/.*|\1|p' "${sources[@]}" | sort -u); do
        if [ "$used" != "$folder" ] && [[ " ${below[$folder]} " != *" $used "* ]]; then
            echo "$folder/ includes $used/, which is not below it:"
            grep -Hn "^#include \"$used/" "${sources[@]}"
            status=1
        fi
    done
done
# No two classes include each other (a database and its statements aside).
pairs=$(for file in */*.h */*.cpp; do
    class=${file%.*}
    sed -n 's|^#include "\([a-z]*/[A-Za-z]*\)\.h".*|\1|p' "$file" | grep -vx "$class" | sed "s|^|$class |"
done | sort -u)
while read -r first second; do
    [ -z "$first" ] && continue
    if grep -qx "$second $first" <<<"$pairs" && [[ "$first" < "$second" ]] &&
        [ "$first $second" != "store/SqliteDatabase store/SqliteStatement" ]; then
        echo "$first and $second include each other"
        status=1
    fi
done <<<"$pairs"
[ $status -eq 0 ] && echo "every include runs downward; no two classes include each other"
exit $status
