#!/usr/bin/env bash
# Configures and builds the given presets (default: native, native-asan, win32, win64).
# The cross builds import the native build's generators and use its `lumenforge` for reference
# renders: when they are asked for without `native`, only those targets of it are built.
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native native-asan win32 win64)
needs_native_tools=0
for preset in "${presets[@]}"; do
    case "$preset" in win32|win64) needs_native_tools=1 ;; esac
done
if [ "$needs_native_tools" -eq 1 ] && [[ " ${presets[*]} " != *" native "* ]]; then
    echo "[build] native (generators and lumenforge only)" >&2
    cmake --preset native >/dev/null
    cmake --build --preset native -j "$(nproc)" --target lumenforge-resgen lumenforge-dbgen lumenforge-helpc lumenforge
fi
ordered=()
[[ " ${presets[*]} " == *" native "* ]] && ordered=(native)
for preset in "${presets[@]}"; do [ "$preset" = native ] || ordered+=("$preset"); done
for preset in "${ordered[@]}"; do
    echo "[build] $preset" >&2
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
done
