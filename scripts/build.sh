#!/usr/bin/env bash
# build.sh DIR [cmake options...] — configure and build one tree.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="$1"; shift
launcher=()
# A compiler cache, when the machine has one, makes rebuilds cheap; none is needed.
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
