#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the project's prefix (used by CMake as the
# cross-compiling emulator). Console output loses its CR before LF.
# On a loaded machine Wine now and then fails to start a program at all (no output, non-zero
# status); such a start is tried once more. A program that ran and failed is not run again.
. "$(dirname "$0")/wine-env.sh"
set -o pipefail
output=$(mktemp)
trap 'rm -f "$output"' EXIT
run() { wine "$@" < /dev/null 2> >(tr -d '\r' >&2) | tr -d '\r' > "$output"; }
status=0
run "$@" || status=$?
if [ "$status" -ne 0 ] && [ ! -s "$output" ]; then
    echo "[wine-run] $1 did not start (status $status); trying once more" >&2
    status=0
    run "$@" || status=$?
fi
cat "$output"
exit "$status"
