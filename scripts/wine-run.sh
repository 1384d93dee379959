#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the project's prefix (used by CMake as the
# cross-compiling emulator). Console output loses its CR before LF.
# On a loaded machine Wine now and then fails to start a program at all (no output, non-zero
# status); such a start is tried once more. A program that ran and failed is not run again.
# A run counts as failed, whatever its exit status, when Wine reports an unhandled exception or a
# test program stops before its closing summary: a crash on a worker thread must never pass.
. "$(dirname "$0")/wine-env.sh"
set -o pipefail
output=$(mktemp)
errors=$(mktemp)
trap 'rm -f "$output" "$errors"' EXIT
run() { wine "$@" < /dev/null 2> >(tr -d '\r' | tee "$errors" >&2) | tr -d '\r' > "$output"; }
status=0
run "$@" || status=$?
if [ "$status" -ne 0 ] && [ ! -s "$output" ]; then
    echo "[wine-run] $1 did not start (status $status); trying once more" >&2
    status=0
    run "$@" || status=$?
fi
wait
cat "$output"
if grep -q "Unhandled exception" "$errors" "$output"; then
    echo "[wine-run] $1 crashed (Wine reported an unhandled exception)" >&2
    [ "$status" -ne 0 ] || status=3
elif grep -q '^\[==========\] Running' "$output" && ! grep -q '^\[==========\] .* ran\.' "$output"; then
    echo "[wine-run] $1 stopped before its test summary" >&2
    [ "$status" -ne 0 ] || status=3
fi
exit "$status"
