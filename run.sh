#!/usr/bin/env bash
# Installs what is missing, builds Lumbra and starts it. The picture library
# and the accounts live next to the program, in build/app/.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-dependencies.sh
scripts/build.sh lumbra
exec build/app/lumbra
