#!/usr/bin/env bash
# Fails when a folder includes a folder above it, or one of its own level, in the order below.
# Read top to bottom: a folder may include only folders on a lower line. Folders sharing a line
# are side by side and include none of each other. tests/, fuzz/ and bench/ sit on top of
# everything and are not checked. Every other folder holding C++ files must be in the list.
set -euo pipefail
cd "$(dirname "$0")/.."

levels=(
    "app integrador_standin library_host"          # the programs with a window or a service
    "cli"                                          # the tarvik command line
    "registry"                                     # the one list of operations
    "operations documents network"                 # features
    "receipt journal"                              # what the feature pages offer: the receipt
    "ui help"                                      # shared Qt page machinery, help files
    "access emulator"                              # the driver library: used, and played
    "xml"                                          # the XML engine
    "settings"
    "core"
)
exempt="tests fuzz bench"

declare -A level_of
for i in "${!levels[@]}"; do
    for folder in ${levels[$i]}; do
        level_of[$folder]=$i
    done
done

failures=0
report() {
    echo "$1:$2: $3" >&2
    failures=$((failures + 1))
}

while IFS= read -r -d '' file; do
    from=${file%%/*}
    [[ $file == */* ]] || from=.
    [[ " $exempt " == *" $from "* ]] && continue
    if [[ -z ${level_of[$from]+set} ]]; then
        report "$file" 1 "folder '$from' is not in the layer list of scripts/check-layers.sh"
        continue
    fi
    while IFS=: read -r line included; do
        to=${included%%/*}
        [[ $to == "$from" ]] && continue
        if [[ -z ${level_of[$to]+set} ]]; then
            report "$file" "$line" "'$from' includes '$included' from '$to', a folder not in the layer list"
        elif ((level_of[$to] < level_of[$from])); then
            report "$file" "$line" "'$from' includes '$included' from '$to', which is above it"
        elif ((level_of[$to] == level_of[$from])); then
            report "$file" "$line" "'$from' includes '$included' from '$to', which is on its own level"
        fi
    done < <(grep -n -o -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+/[^"]*"' "$file" |
        sed -E 's/^([0-9]+):.*"([^"]+)"$/\1:\2/')
done < <(git ls-files -z -- '*.cpp' '*.h')

if ((failures > 0)); then
    echo "check-layers: $failures include(s) break the folder order" >&2
    exit 1
fi
echo "check-layers: every include points down the folder order"
