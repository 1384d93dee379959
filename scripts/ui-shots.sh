#!/usr/bin/env bash
# Screenshots of every dialog and page that exists, from the user-interface tests that drive the
# real windows under Wine: out/ui/NAME.png.
#   main-dialog-navigator, main-dialog-presets, main-dialog-about   the main dialog, each tab
#   main-dialog-gradient-bar   the main dialog with its gradient bar shown
#   gradient-picker            dialog 179 opened from the bar
#   about-box                  the about selector's box
#   editor-slider-settings, editor-filter-info   the editor's dialogs 142 and 151
#   navigator-default-database the navigator on a copy of the default database, a filter loaded
#   navigator-category-menu, navigator-filter-menu   the two menus of 134 open over their lists
#   navigator-label-edit       a filter's label being edited
#   navigator-drag             a drag of two filters over a category
#   navigator-database-menu    the Database menu, one database greyed (its folder is gone)
#   navigator-library-import, navigator-filter-info, navigator-new-database   dialogs 146, 148, 150
#   main-dialog-filter         the main dialog with a filter taken into the panel, its preview rendered
#   control-panel, control-panel-drag   the panel beside the presets page, a slider being dragged
#   preview-checkerboard       a half transparent image's preview over the checkerboard
#   preview-popup              the magnifying popup over the preview
#   presets-page               the presets page with three presets
#   preset-description         dialog 144 while a preset is added
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
