#!/usr/bin/env bash
# Configures and builds the given presets (default: native, native-asan, win32, win64).
# The native build comes first: the cross builds import its generators.
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native native-asan win32 win64)
needs_native=0
for preset in "${presets[@]}"; do
    case "$preset" in win32|win64) needs_native=1 ;; esac
done
if [ "$needs_native" -eq 1 ] && [[ " ${presets[*]} " != *" native "* ]]; then
    presets=(native "${presets[@]}")
fi
for preset in "${presets[@]}"; do
    echo "[build] $preset" >&2
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
done
