#!/usr/bin/env bash
# Prints why each skipped test of the last ctest run in a build folder skipped: ctest's summary
# names a skipped test but not its reason, which the test wrote into its output.
#
#   bash scripts/skip-reasons.sh BUILD_FOLDER
set -euo pipefail
log=${1:?build folder}/Testing/Temporary/LastTest.log
[ -f "$log" ] || exit 0
awk '
    # A GoogleTest skip: the lines after "file:line: Skipped" up to "[  SKIPPED ]".
    /^[0-9]+\/[0-9]+ Test: / { test = $0; sub(/^[0-9]+\/[0-9]+ Test: /, "", test); reason = ""; next }
    / Skipped$/ && test != "" { inskip = 1; next }
    inskip && /^\[  SKIPPED \]/ { inskip = 0; skipped(test, reason); next }
    inskip && NF { reason = reason (reason == "" ? "" : " ") $0; next }
    # A QtTest skip: "SKIP   : Class::case() reason".
    /^SKIP   : / && test != "" { line = $0; sub(/^SKIP   : /, "", line); skipped(test, line) }
    function skipped(name, why) {
        if (n == 0) print "\nWhy the skipped tests skipped:"
        n++
        print "  " name ": " why
    }
' "$log"
