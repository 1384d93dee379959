#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine, as root.
# Idempotent: packages already present are not asked for again, and the cross-built
# libraries and the Wine prefix are cached in the build tree (build/deps, build/wine).
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
deps="$top/build/deps"
mkdir -p "$deps"

log() { printf '[setup] %s\n' "$*" >&2; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing_packages() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
    done
}

apt_updated=0
apt_install() {
    local want
    want=$(missing_packages "$@")
    [ -n "$want" ] || return 0
    if [ "$apt_updated" -eq 0 ]; then
        as_root apt-get update -qq
        apt_updated=1
    fi
    log "installing: $(echo $want)"
    # shellcheck disable=SC2086
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $want >/dev/null
}

# Source packages need deb-src entries.
enable_sources() {
    local src=/etc/apt/sources.list.d/debian.sources
    if [ -f "$src" ] && grep -q '^Types: deb$' "$src"; then
        as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$src"
        apt_updated=0
    fi
}

native_packages=(
    build-essential cmake ninja-build pkg-config git
    flex bison libpng-dev zlib1g-dev libjpeg62-turbo-dev
    libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
    clang libclang-rt-14-dev valgrind
)
cross_packages=(
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    nasm dpkg-dev
)
# 64-bit Wine only: this machine's kernel does not run 32-bit processes, so the Windows tests
# drive the x86-64 build of the plug-in (see README).
# fonts-liberation: Liberation Sans has Arial's metrics, for the dialogs' button captions.
wine_packages=(
    wine wine64 fonts-wine fonts-liberation xvfb xauth imagemagick
    libxrender1 libxcursor1 libxrandr2 libxi6 libxinerama1 libxcomposite1
)

enable_sources
apt_install "${native_packages[@]}" "${cross_packages[@]}" "${wine_packages[@]}"

# --- Cross-built libraries for the Windows builds (libjpeg-turbo, zlib, libpng) -----------
fetch_source() {  # package -> prints the unpacked source directory
    local pkg=$1 dir
    dir=$(find "$deps/src/$pkg" -mindepth 1 -maxdepth 1 -type d 2>/dev/null | head -n 1)
    if [ -z "$dir" ]; then
        mkdir -p "$deps/src/$pkg"
        if [ "$apt_updated" -eq 0 ]; then as_root apt-get update -qq; apt_updated=1; fi
        log "fetching the source of $pkg"
        # The security archive may not serve sources: try every version the index lists.
        local version
        for version in $(apt-cache showsrc "$pkg" | awk '/^Version:/ {print $2}' | sort -rV); do
            (cd "$deps/src/$pkg" && apt-get source -qq "$pkg=$version" >/dev/null 2>&1) && break
            rm -rf "${deps:?}/src/$pkg"/*
        done
        dir=$(find "$deps/src/$pkg" -mindepth 1 -maxdepth 1 -type d | head -n 1)
        [ -n "$dir" ] || { log "no source of $pkg could be fetched"; exit 1; }
    fi
    echo "$dir"
}

cross_build_all() {  # triple, toolchain file
    local triple=$1 toolchain=$2
    local prefix="$deps/$triple" work="$deps/build-$triple"
    mkdir -p "$prefix/lib" "$prefix/include"

    configure_and_build() {  # name, source dir, target ('' for all), cmake options...
        local name=$1 srcdir=$2 target=$3; shift 3
        log "cross-building $name for $triple"
        rm -rf "$work/$name"
        cmake -S "$srcdir" -B "$work/$name" -G Ninja -Wno-dev \
            -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" "$@" >/dev/null
        cmake --build "$work/$name" ${target:+--target "$target"} >/dev/null
    }

    if [ ! -f "$prefix/.jpeg" ]; then
        configure_and_build jpeg "$(fetch_source libjpeg-turbo)" "" -DENABLE_SHARED=OFF \
            -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DWITH_SIMD=ON \
            -DCMAKE_ASM_NASM_COMPILER=nasm
        cmake --install "$work/jpeg" >/dev/null
        touch "$prefix/.jpeg"
    fi
    # Debian's zlib source lacks the Windows resource file, so only the static library is built.
    if [ ! -f "$prefix/.zlib" ]; then
        local zsrc
        zsrc=$(fetch_source zlib)
        configure_and_build zlib "$zsrc" zlibstatic
        cp "$work/zlib/libzlibstatic.a" "$prefix/lib/libz.a"
        cp "$zsrc/zlib.h" "$work/zlib/zconf.h" "$prefix/include/"
        touch "$prefix/.zlib"
    fi
    if [ ! -f "$prefix/.png" ]; then
        configure_and_build png "$(fetch_source libpng1.6)" "" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
            -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_HARDWARE_OPTIMIZATIONS=OFF \
            -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include"
        cmake --install "$work/png" >/dev/null
        touch "$prefix/.png"
    fi
}

cross_build_all i686-w64-mingw32 "$top/cmake/toolchain-mingw-i686.cmake"
cross_build_all x86_64-w64-mingw32 "$top/cmake/toolchain-mingw-x86_64.cmake"

# --- The project's own Wine prefix --------------------------------------------------------
"$top/scripts/wine-env.sh" init

log "done"
