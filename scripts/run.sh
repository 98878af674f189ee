#!/usr/bin/env bash
# Installs what is missing, builds Velmora and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DVELMORA_BENCH=OFF

if [ ! -x build/src/app/velmora ]; then
  echo "The Velmora window is not built yet; here is a short drive of the model instead:"
  exec build/tools/velmora-sim/velmora-sim --pedal 100 --boost --steps 400 --every 40
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display here: try 'build/tools/velmora-sim/velmora-sim --pedal 100 --boost --steps 2000 --every 100' instead."
  exit 1
fi
exec build/src/app/velmora
