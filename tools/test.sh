#!/usr/bin/env bash
# Installs what is missing, builds Pellucor with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/setup.sh
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPELLUCOR_SANITIZE=ON \
  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >/dev/null
cmake --build build/asan
cd build/asan
ctest --output-on-failure -j2 "$@"
