#!/usr/bin/env bash
# Installs what is missing, builds Pellucor (optimised) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELLUCOR_TESTS=OFF >/dev/null
cmake --build build/release
exec build/release/bin/pellucor "$@"
