#!/usr/bin/env bash
# The main job: sets up everything, builds the plug-in (native shared object, 32- and 64-bit
# Windows .8bf) and runs it through lumenforge-host on the sample image, natively and under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh native win32 win64

out=out/demo
mkdir -p "$out"
host=build/native/host/lumenforge-host
plugin=build/native/plugin/Lumenforge.so
sample=tests/host/data/sample.png

echo "== PiPL of the plug-in, as a host reads it"
"$host" pipl "$plugin"
echo "== A run through every selector (parameters, prepare, start, continue, finish), twice"
rm -f "$out/params.bin"
"$host" apply "$plugin" "$sample" "$out/native.png" --parameters --params "$out/params.bin" --repeat 2

echo "== The same under Wine with Lumenforge64.8bf"
. scripts/wine-env.sh
./scripts/wine-env.sh start
./scripts/wine-run.sh build/win64/host/lumenforge-host.exe apply build/win64/plugin/Lumenforge64.8bf \
    "$sample" "$out/windows.png" --parameters
./scripts/wine-env.sh stop
cmp "$out/native.png" "$out/windows.png" && echo "native and Windows results are identical"
echo "== Results in $out/; the product is build/win32/plugin/Lumenforge.8bf"
