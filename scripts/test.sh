#!/usr/bin/env bash
# Sets up everything and runs every test: native tests under the address and undefined-behaviour
# sanitizers, the Windows tests under 64-bit Wine inside a virtual display, and a short run of
# every fuzz target over its seeds; and that a clone with no external corpus beside it stays green.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh native-asan win32 win64 fuzz

echo "[test] native (sanitizers)" >&2
ctest --preset native-asan

echo "[test] a clone with nothing beside it" >&2
./scripts/check-standalone.sh

echo "[test] Windows under Wine" >&2
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    ./scripts/wine-env.sh start
    status=0
    ctest --preset win64 || status=$?
    ./scripts/wine-env.sh stop
    exit $status'

echo "[test] fuzz targets over their seeds" >&2
./scripts/fuzz.sh smoke
echo "[test] all passed" >&2
