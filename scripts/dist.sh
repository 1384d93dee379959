#!/usr/bin/env bash
# Packs the release archive dist/Lumenforge-1.0.zip from an existing build (scripts/build.sh
# native win32 win64): the plug-in for 32- and 64-bit hosts, the default database and the
# install note, the help books (with their HTML pages under docs/html) and the optional German
# language library, laid out as they go into a host's plug-ins folder.
set -euo pipefail
cd "$(dirname "$0")/.."
stage=dist/Lumenforge
rm -rf dist
mkdir -p "$stage"
cp build/win32/plugin/Lumenforge.8bf build/win64/plugin/Lumenforge64.8bf "$stage/"
cp -r "build/native/Korvath Filters.db" "$stage/"
cp docs/INSTALL.txt build/native/Lumenforge.hlp build/native/Reference.hlp "$stage/"
# One resource-only library serves both plug-ins: it is loaded as data, never run.
cp build/win32/lmflngde.dll "$stage/"
mkdir -p "$stage/docs"
cp -r build/native/docs/html "$stage/docs/"
(cd dist && cmake -E tar cf Lumenforge-1.0.zip --format=zip Lumenforge)
echo "dist/Lumenforge-1.0.zip: $(cd "$stage" && find . -type f | wc -l) files"
