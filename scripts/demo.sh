#!/usr/bin/env bash
# The main job: sets up everything, builds the plug-in (Linux shared object, 32- and 64-bit Windows
# .8bf) and the default database, then applies the database's filters to the sample picture
# through lumenforge-host and the plug-in: every filter natively, a selection also with the
# Windows plug-in under Wine. Each result is checked against `lumenforge render`, the Windows
# results against the native ones, and everything is laid out on contact sheets.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh native win32 win64

out=out/demo
native=build/native
database="$native/Korvath Filters.db"
sample="$native/sample.png"
rm -rf "$out"
mkdir -p "$out"

joined() { local IFS=';'; echo "$*"; }
apply_through_host() {  # WORKDIR HOST PLUGIN FILTER_FILE...
    local workdir=$1 host=$2 plugin=$3
    shift 3
    cmake -DHOST="$host" -DPLUGIN="$plugin" -DLUMENFORGE="$native/cli/lumenforge" -DSAMPLE="$sample" \
        -DWORKDIR="$workdir" -DFILTER_FILES="$(joined "$@")" -P tests/cli/end_to_end.cmake
}

all_filters=("$database"/*.ffx)
echo "== Applying all ${#all_filters[@]} filters of the default database through lumenforge-host (Lumenforge.so)"
apply_through_host "$out/native" "$native/host/lumenforge-host" "$native/plugin/Lumenforge.so" "${all_filters[@]}"

selection=()
for name in "Distort - Polar Coordinates" "Light - Sunbeams" "Artistic - Engraving" \
            "Edges - Emboss" "Gradient Map - Gradient Map" "Texture - Canvas"; do
    [ -f "$database/$name.ffx" ] && selection+=("$database/$name.ffx")
done
[ ${#selection[@]} -gt 0 ] || selection=("${all_filters[@]:0:6}")
echo "== The same for ${#selection[@]} of them with the Windows plug-in (Lumenforge64.8bf) under Wine"
./scripts/wine-env.sh start
apply_through_host "$out/windows" "scripts/wine-run.sh;build/win64/host/lumenforge-host.exe" \
    build/win64/plugin/Lumenforge64.8bf "${selection[@]}"
./scripts/wine-env.sh stop

echo "== The main dialog with the default database, as a host shows it (Lumenforge64.8bf under Wine)"
# A plug-ins folder as a user has it: the plug-in and the default database beside it.
plugins="$out/ui/plug-ins"
mkdir -p "$plugins"
cp build/win64/plugin/Lumenforge64.8bf "$plugins/"
cp -r "$database" "$plugins/"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    ./scripts/wine-env.sh start
    status=0
    ./scripts/wine-run.sh build/win64/host/lumenforge-host.exe apply "$1/Lumenforge64.8bf" "$2" "$3/applied.png" \
        --play display --screenshot "$3/main-dialog.png" --close-after 4000 >/dev/null || status=$?
    ./scripts/wine-env.sh stop
    exit $status' ui "$plugins" "$sample" "$out/ui"
[ -f "$out/ui/main-dialog.png" ]
for windows in "$out"/windows/*-host.png; do
    cmp "$windows" "$out/native/$(basename "$windows")"
done
echo "the Windows plug-in's results are identical to the native ones"

items=("Original=$sample")
for filter in "${all_filters[@]}"; do
    name=$(basename "$filter" .ffx)
    items+=("$name=$out/native/$(echo "$name.ffx" | sed 's/[^A-Za-z0-9_]/_/g')-host.png")
done
"$native/cli/lumenforge" sheet --cell 192x144 "$out/contact-sheet.png" "${items[@]}"

echo "== Results"
echo "   $out/contact-sheet.png       every filter of the default database on the sample picture"
echo "   $out/native/NAME-host.png    each filter applied through lumenforge-host and Lumenforge.so"
echo "   $out/windows/NAME-host.png   the selection applied with Lumenforge64.8bf under Wine"
echo "   $out/ui/main-dialog.png      the main dialog showing the default database"
./scripts/dist.sh
echo "   dist/Lumenforge-1.0.zip      the release archive (plug-in, default database, install note)"
