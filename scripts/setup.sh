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

# Source packages need deb-src entries; Wine needs the i386 architecture.
enable_sources_and_i386() {
    local src=/etc/apt/sources.list.d/debian.sources
    if [ -f "$src" ] && grep -q '^Types: deb$' "$src"; then
        as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$src"
        apt_updated=0
    fi
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
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
wine_packages=(
    wine wine32:i386 wine64 fonts-wine xvfb xauth imagemagick
    libxrender1 libxcursor1 libxrandr2 libxi6 libxinerama1 libxcomposite1 libxfixes3:i386
)

enable_sources_and_i386
apt_install "${native_packages[@]}" "${cross_packages[@]}" "${wine_packages[@]}"

# --- Cross-built libraries for the Windows plug-in (libjpeg-turbo, zlib, libpng) ---------
cross_prefix="$deps/i686-w64-mingw32"
toolchain="$top/cmake/toolchain-mingw-i686.cmake"

fetch_source() {  # package -> prints the unpacked source directory
    local pkg=$1 dir
    dir=$(find "$deps/src/$pkg" -mindepth 1 -maxdepth 1 -type d 2>/dev/null | head -n 1)
    if [ -z "$dir" ]; then
        mkdir -p "$deps/src/$pkg"
        if [ "$apt_updated" -eq 0 ]; then as_root apt-get update -qq; apt_updated=1; fi
        log "fetching the source of $pkg"
        (cd "$deps/src/$pkg" && apt-get source -qq "$pkg" >/dev/null 2>&1)
        dir=$(find "$deps/src/$pkg" -mindepth 1 -maxdepth 1 -type d | head -n 1)
    fi
    echo "$dir"
}

cross_build() {  # package, stamp file, extra cmake options...
    local pkg=$1 stamp=$2; shift 2
    [ -f "$cross_prefix/.$stamp" ] && return 0
    local srcdir
    srcdir=$(fetch_source "$pkg")
    log "cross-building $pkg"
    rm -rf "$deps/build-$pkg"
    cmake -S "$srcdir" -B "$deps/build-$pkg" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$cross_prefix" -DCMAKE_PREFIX_PATH="$cross_prefix" \
        "$@" >/dev/null
    cmake --build "$deps/build-$pkg" >/dev/null
    cmake --install "$deps/build-$pkg" >/dev/null
    touch "$cross_prefix/.$stamp"
}

mkdir -p "$cross_prefix"
cross_build libjpeg-turbo jpeg -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
    -DWITH_JPEG8=OFF -DWITH_SIMD=ON -DCMAKE_ASM_NASM_COMPILER=nasm
cross_build zlib zlib -DBUILD_SHARED_LIBS=OFF
cross_build libpng1.6 png -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_ROOT="$cross_prefix" -DZLIB_LIBRARY="$cross_prefix/lib/libzlibstatic.a" \
    -DZLIB_INCLUDE_DIR="$cross_prefix/include" -DPNG_HARDWARE_OPTIMIZATIONS=OFF

# --- The project's own Wine prefix --------------------------------------------------------
"$top/scripts/wine-env.sh" init

log "done"
