#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts the program on the module emulator.
# The Integrador stand-in runs in the background on build/Integrador while the program runs,
# so Integrador mode answers out of the box.
#
#   bash scripts/run.sh [--build-only]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# Only the program's own targets: the tests stay configured, so a later scripts/test.sh in the
# same folder builds and runs them all.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target tarvik_program
[ "${1:-}" = --build-only ] && exit 0
# First start: the emulator library beside the program is the access mode.
[ -f build/tarvikplus.ini ] || printf '[DEFAULT]\r\nACESSO=DLL\r\n' > build/tarvikplus.ini

export TARVIK_INTEGRADOR_DIR="$PWD/build/Integrador"
./build/integrador_standin --dir "$TARVIK_INTEGRADOR_DIR" >/dev/null &
standin=$!
stop_standin() {
    kill "$standin" 2>/dev/null || true
    wait "$standin" 2>/dev/null || true
}
trap stop_standin EXIT
trap 'exit 130' INT TERM
./build/tarvikplus
