#!/usr/bin/env bash
# The project stands on its own: a clone with nothing beside it configures, and the tests over the
# external Filter Factory corpus are skipped there (reported as skipped, not passed or failed).
# Needs the native-asan build of this tree (the test command builds it first).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "[standalone] configuring a clone with no corpus beside it" >&2
git clone --quiet --no-hardlinks "$top" "$scratch/lumenforge"
configure_log="$scratch/configure.log"
if ! cmake --preset native-asan -S "$scratch/lumenforge" >"$configure_log" 2>&1; then
    cat "$configure_log" >&2
    echo "[standalone] a clone without ../shared does not configure" >&2
    exit 1
fi
grep -q "External Filter Factory corpus: not found" "$configure_log" || {
    echo "[standalone] the clone's configure step did not report the missing corpus" >&2
    exit 1
}

echo "[standalone] corpus tests without the corpus" >&2
corpus_tests='^(Corpus\.TextFiltersRenderWithoutFault|FastRender\.TextCorpusMatchesTheTreeWalker|AfsRead\.CorpusFilesReadOrAreRefusedAsExpected)$'
test_log="$scratch/ctest.log"
status=0
(cd "$top" && LUMEN_CORPUS_DIR="$scratch/no-corpus" ctest --preset native-asan -R "$corpus_tests") >"$test_log" 2>&1 || status=$?
cat "$test_log"
skipped=$(grep -c '\*\*\*Skipped' "$test_log" || true)
if [ "$status" -ne 0 ] || [ "$skipped" -ne 3 ]; then
    echo "[standalone] expected the 3 corpus tests to be skipped, $skipped were (ctest status $status)" >&2
    exit 1
fi
echo "[standalone] a clone without the corpus skips its 3 tests" >&2
