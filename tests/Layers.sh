#!/usr/bin/env bash
# Checks the layers of the program's folders: every include names its
# folder, and a folder includes only the folders below it, so that no
# include runs upward and no two folders include each other.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A below=(
    [toolkit]=""
    [pictures]="toolkit"
    [config]=""
    [store]="config"
    [reasons]="config store"
    [auth]="config toolkit"
    [viewer]="pictures toolkit"
    [maintenance]="reasons config store toolkit"
    [mainwindow]="auth viewer maintenance reasons config store pictures toolkit"
    [app]="mainwindow auth viewer maintenance reasons config store pictures toolkit"
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
[ $status -eq 0 ] && echo "every include runs downward"
exit $status
