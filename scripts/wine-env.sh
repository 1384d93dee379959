#!/usr/bin/env bash
# The project's own 64-bit Wine prefix, inside the build tree.
#   wine-env.sh init    create the 32-bit prefix once, with Wine's fonts and no window manager wait
#   wine-env.sh start   start a persistent wineserver whose output goes nowhere
#   wine-env.sh stop    end the server and wait for it
# Source it (". wine-env.sh") to get the environment only.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$top/build/wine64"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

wine_init() {
    [ -f "$WINEPREFIX/.lumenforge-ready" ] && return 0
    echo "[setup] creating the Wine prefix in $WINEPREFIX" >&2
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/*.fon /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
    wineserver -w
    touch "$WINEPREFIX/.lumenforge-ready"
}

[ "${BASH_SOURCE[0]}" = "$0" ] || return 0
case "${1:-}" in
    init) wine_init ;;
    start) wineserver -p >/dev/null 2>&1 </dev/null; wine cmd /c exit </dev/null >/dev/null 2>&1 ;;
    stop) wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1 || true ;;
    *) echo "usage: $0 [init|start|stop]" >&2; exit 2 ;;
esac
