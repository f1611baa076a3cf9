#!/usr/bin/env bash
# Takes the README's pictures of the window (welcome page, ConsultarSAT's answer, a status
# report, the MF-e network page) on the module emulator, under Xvfb, into docs/screenshots (or
# the folder given).
# Run by hand when the window changes; CI does not run it.
#
#   bash scripts/screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-docs/screenshots}
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target take_screenshots
mkdir -p "$output"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" ./build/take_screenshots "$output"
