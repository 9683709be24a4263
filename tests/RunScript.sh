#!/usr/bin/env bash
# Runs ./run.sh in a copy of the tree with stand-ins for the build: the
# program starts from my-library/, a library left in build/app/ moves there
# once and whole, and one a running program holds open stays where it is.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
holder=
cleanup() {
    [ -n "$holder" ] && kill "$holder" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

mkdir -p "$work/scripts" "$work/build/app/BAK"
cp "$repo/run.sh" "$work/"
printf '#!/bin/sh\ntrue\n' >"$work/scripts/install-dependencies.sh"
printf '#!/bin/sh\ntrue\n' >"$work/scripts/build.sh"
printf '#!/bin/sh\necho "started in $(cd "$(dirname "$0")" && pwd)"\n' >"$work/build/app/lumbra"
chmod +x "$work"/scripts/*.sh "$work/build/app/lumbra"

# A library held open by a running program is not moved.
for file in pic.edb pic.EDT system.dat BAK/pic.edb; do echo "$file" >"$work/build/app/$file"; done
touch "$work/build/app/lumbra.lock"
(
    exec 9>"$work/build/app/lumbra.lock"
    flock 9
    exec sleep 60
) &
holder=$!
sleep 0.2
bash "$work/run.sh" >/dev/null 2>&1 && fail "run.sh went on while the library was open"
[ -e "$work/build/app/pic.edb" ] || fail "an open library was moved"
kill "$holder"
wait "$holder" 2>/dev/null || true
holder=

output=$(bash "$work/run.sh")
[ "$output" = "$(printf 'Moving the library from build/app/ to my-library/\nstarted in %s/my-library' "$work")" ] ||
    fail "unexpected output: $output"
for file in pic.edb pic.EDT system.dat BAK/pic.edb; do
    [ "$(cat "$work/my-library/$file")" = "$file" ] || fail "$file did not move whole"
    [ ! -e "$work/build/app/$file" ] || fail "$file stayed in build/app"
done

# The next run moves nothing, not even a library a later build left.
echo newer >"$work/build/app/pic.edb"
output=$(bash "$work/run.sh")
[ "$output" = "started in $work/my-library" ] || fail "a second move: $output"
[ "$(cat "$work/my-library/pic.edb")" = pic.edb ] || fail "the library in my-library/ was replaced"
echo "run.sh keeps the library in my-library/"
