#!/usr/bin/env bash
# Configures and builds Lumbra in build/: the targets named as arguments, or
# everything (tests and benchmarks included) when none is named.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMBRA_BUILD_BENCHMARKS=ON >/dev/null
targets=()
for target in "$@"; do
    targets+=(--target "$target")
done
cmake --build build --parallel "$(nproc)" "${targets[@]}"
