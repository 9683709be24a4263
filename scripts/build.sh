#!/usr/bin/env bash
# Configures and builds Lumbra in build/ (tests and benchmarks included).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMBRA_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build --parallel "$(nproc)"
