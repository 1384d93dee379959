#!/usr/bin/env bash
# Screenshots of every dialog and page that exists, from the user-interface tests that drive the
# real windows under Wine: out/ui/NAME.png.
#   main-dialog-navigator, main-dialog-presets, main-dialog-about   the main dialog, each tab
#   main-dialog-gradient-bar   the main dialog with its gradient bar shown
#   gradient-picker            dialog 179 opened from the bar
#   about-box                  the about selector's box
#   help-viewer-contents, help-viewer-builtin, help-viewer-missing   the help window and its message
#   main-dialog-german, main-dialog-german-about   the main dialog with lmflngde.dll beside the plug-in
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh native win64
shots=build/win64/artifacts/ui
rm -rf "$shots" out/ui
mkdir -p "$shots" out/ui
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    ./scripts/wine-env.sh start
    status=0
    ./scripts/wine-run.sh build/win64/tests/ui/ui_window_tests.exe >/dev/null || status=$?
    ./scripts/wine-env.sh stop
    exit $status'
cp "$shots"/*.png out/ui/
# The guide shows the screenshots that exist: make it again with these.
cmake --build --preset native --target lumen_help_books >/dev/null
ls out/ui
