#!/usr/bin/env bash
# The project's own 64-bit Wine prefix, inside the build tree.
#   wine-env.sh init    create the prefix once (no window manager wait), and give it the dialogs' fonts
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
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
    wineserver -w
    touch "$WINEPREFIX/.lumenforge-ready"
}

# The dialogs' fonts at their real metrics at 96 DPI: Wine's "MS Sans Serif" (Debian's Wine does
# not find its own fonts), and Liberation Sans (Arial's metrics) standing in for Arial.
wine_fonts() {
    [ -f "$WINEPREFIX/.lumenforge-fonts" ] && return 0
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/*.fon /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
    cp /usr/share/fonts/truetype/liberation/LiberationSans-*.ttf "$fonts/"
    local substitutes='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
    wine reg add "$substitutes" /v Arial /d "Liberation Sans" /f >/dev/null 2>&1 </dev/null
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 </dev/null
    wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels \
        /t REG_DWORD /d 96 /f >/dev/null 2>&1 </dev/null
    wineserver -w
    touch "$WINEPREFIX/.lumenforge-fonts"
}

[ "${BASH_SOURCE[0]}" = "$0" ] || return 0
case "${1:-}" in
    init) wine_init; wine_fonts ;;
    start) wineserver -p >/dev/null 2>&1 </dev/null; wine cmd /c exit </dev/null >/dev/null 2>&1 ;;
    stop) wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1 || true ;;
    *) echo "usage: $0 [init|start|stop]" >&2; exit 2 ;;
esac
