#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Lumbra
# need; does nothing when they are all present. Uses sudo when not root.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
    libsqlite3-dev libssl-dev libargon2-dev libfontconfig-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xdotool x11-apps x11-utils imagemagick
    fonts-wqy-microhei fonts-arphic-uming fonts-arphic-ukai
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
