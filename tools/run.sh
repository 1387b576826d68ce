#!/usr/bin/env bash
# Sets up this machine, builds the game in Release and starts it in its run directory
# (build/release/run: the assets and the font below the working directory, as the game expects).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build/release -j "$(nproc)" --target vornhalt
cd build/release/run
exec ./vornhalt
