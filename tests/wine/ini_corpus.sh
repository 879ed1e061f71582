#!/usr/bin/env bash
# The awkward INI files of ini_corpus/ read through the platform layer by the Windows reader (the
# kernel's GetPrivateProfileStringA/IntA, under Wine): every lookup that ini_corpus/lookups.txt
# lists, every listing and loaded setting must come out as recorded in ini_corpus_windows.txt,
# which the fast Linux tests hold our own reader to (unit test IniCorpus).
#   ini_corpus.sh RECORDED WORKDIR
set -euo pipefail
recorded=$1 work=$2
source "$(dirname "$0")/wine_env.sh"

rm -rf "$work"
mkdir -p "$work"
# Read from beside this script through a relative path with a folder, as the plug-in names its
# file (the Windows reader treats a bare file name differently).
(cd "$(dirname "$0")" && wine_run "$WINDOWS_BIN/tarrowind-ini-dump.exe" corpus ini_corpus) \
    >"$work/windows.txt"

results=$(wc -l <"$work/windows.txt")
if [ "$results" -lt 100 ]; then
    echo "FAIL: the corpus gave only $results results"
    exit 1
fi
if ! diff "$recorded" "$work/windows.txt" >"$work/diff.txt"; then
    echo "FAIL: the Windows reader differs from the recorded answers (< recorded, > Windows):"
    cat "$work/diff.txt"
    exit 1
fi
echo "ok: $results results as recorded"
