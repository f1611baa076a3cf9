#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang under AddressSanitizer, UBSan and libFuzzer, and runs
# each for SECONDS (default 20) on a scratch copy of its seed corpus, so the runs never grow the
# repository. Fails when any target finds a crash, a broken property, a leak or a hang; the
# input that did it is kept in <build>/fuzz-artifacts/ (add it to fuzz/corpus/<target>/ once the
# fault is fixed).
#   scripts/fuzz.sh [SECONDS] [TARGET...]     build folder: $TARVIK_FUZZ_BUILD or build-fuzz
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift $(($# > 0 ? 1 : 0))

bash scripts/setup.sh
# Debian's clang and its libFuzzer runtime, which only this script needs.
missing=()
for p in clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

build=${TARVIK_FUZZ_BUILD:-build-fuzz}
if [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ] && command -v ccache >/dev/null; then
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTARVIK_FUZZ=ON -DTARVIK_BUILD_TESTS=OFF -DTARVIK_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_targets

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for corpus in fuzz/corpus/*/; do targets+=("$(basename "$corpus")"); done
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
failed=()
for target in "${targets[@]}"; do
    cp -r "fuzz/corpus/$target" "$scratch/$target"
    echo "== $target: ${seconds} s"
    if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/$target" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
        -artifact_prefix="$artifacts/$target-" "$scratch/$target" >"$scratch/$target.log" 2>&1; then
        grep -E '^(#[0-9]+.*(DONE|cov:)|stat::number_of_executed_units)' "$scratch/$target.log" | tail -n 2
    else
        tail -n 40 "$scratch/$target.log"
        failed+=("$target")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz targets failed: ${failed[*]} (inputs in $artifacts)" >&2
    exit 1
fi
