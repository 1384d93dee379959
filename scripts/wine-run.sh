#!/usr/bin/env bash
# Runs a Windows program of the build under Wine in the project's prefix (used by CMake as the
# cross-compiling emulator). Console output loses its CR before LF.
. "$(dirname "$0")/wine-env.sh"
set -o pipefail
wine "$@" < /dev/null 2> >(tr -d '\r' >&2) | tr -d '\r'
