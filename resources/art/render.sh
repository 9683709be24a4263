#!/usr/bin/env bash
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"

render() {
    local name=$1 w=$2 h=$3
    rsvg-convert -w "$w" -h "$h" -o "$name.png" "$name.svg"
    echo "rendered $name.png (${w}x${h})"
}

for svg in *.svg; do
    name=${svg%.svg}
    case "$name" in
        main-background) render "$name" 550 450 ;;
        welcome)         render "$name" 279 198 ;;
        lumbra)          render "$name" 64 64 ;;
        login-background|password-background) render "$name" 240 156 ;;
        login-user)      render "$name" 30 32 ;;
        login-key)       render "$name" 27 31 ;;
        viewer-*)        render "$name" 16 16 ;;
        *) echo "no size known for $svg" >&2; exit 1 ;;
    esac
done
