#!/usr/bin/env bash
# Long random-input soak of the real main window, offscreen.
#
#   scripts/soak.sh                     # a million events, a fresh seed
#   scripts/soak.sh 200000              # that many events
#   scripts/soak.sh 1000000 1234567     # replay a seed
#
# The seed is printed first; a failure prints the event it broke at and the
# events before it. The test run's short soak uses the same binary with a
# few thousand events (VELMORA_SOAK_EVENTS and VELMORA_SOAK_SEED set both).
set -euo pipefail
cd "$(dirname "$0")/.."

events="${1:-1000000}"
seed="${2:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}"

scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target soak_tests -j"${JOBS:-$(nproc)}"

echo "soak: ${events} events, seed ${seed}"
QT_QPA_PLATFORM=offscreen VELMORA_SOAK_EVENTS="$events" VELMORA_SOAK_SEED="$seed" \
  build/tests/soak/soak_tests --gtest_filter='Soak.RandomInputKeepsTheInvariants'
