#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts the program on the module emulator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIK_BUILD_TESTS=OFF >/dev/null
cmake --build build
# First start: the emulator library beside the program is the access mode.
[ -f build/tarvikplus.ini ] || printf '[DEFAULT]\r\nACESSO=DLL\r\n' > build/tarvikplus.ini
exec ./build/tarvikplus
