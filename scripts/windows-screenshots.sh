#!/usr/bin/env bash
# Takes the pictures of the Windows window (the pages scripts/screenshots.sh takes on Linux) with
# the window's own Windows build under wine, on Xvfb, into docs/screenshots/windows (or the folder
# given). Run by hand when the window changes, after `bash scripts/windows-cross.sh x86_64` has
# built build-windows-x86_64; CI does not run it.
#
#   bash scripts/windows-screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
output=$(realpath -m "${1:-docs/screenshots/windows}")
build=build-windows-x86_64
[ -f "$build/CMakeCache.txt" ] || { echo "build the window first: bash scripts/windows-cross.sh x86_64" >&2; exit 1; }
cmake --build "$build" --target take_screenshots
mkdir -p "$output"
export WINEPREFIX=${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/tarvikplus/wine} WINEDEBUG=-all
# The window's families on Windows are Tahoma and Lucida Console; this wine loads neither, and
# its text would fall back to a serif. It is given the machine's nearest fonts under those names.
for font in "Tahoma=DejaVu Sans" "Lucida Console=DejaVu Sans Mono"; do
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${font%%=*}" \
        /d "${font#*=}" /f >/dev/null
done
cd "$build"
# 64-bit programs go straight to wine's 64-bit loader (see scripts/windows-cross.sh).
xvfb-run -a -s "-screen 0 1024x768x24" /usr/lib/wine/wine64 take_screenshots.exe "Z:$output"
