#!/usr/bin/env bash
# A corpus of awkward INI files, read through the platform layer by the Windows reader (the
# kernel's GetPrivateProfileStringA/IntA, under Wine) and by our own reader on Linux: every
# lookup and every loaded setting must come out the same.
#   ini_corpus.sh LINUX_INI_DUMP WORKDIR
set -euo pipefail
linux_dump=$1 work=$2
source "$(dirname "$0")/wine_env.sh"

rm -rf "$work"
mkdir -p "$work"
"$linux_dump" corpus "$work/linux" >"$work/linux.txt"
(cd "$work" && wine_run "$WINDOWS_BIN/tarrowind-ini-dump.exe" corpus windows) >"$work/windows.txt"

lookups=$(wc -l <"$work/linux.txt")
if [ "$lookups" -lt 100 ]; then
    echo "FAIL: the corpus gave only $lookups results"
    exit 1
fi
if ! diff "$work/windows.txt" "$work/linux.txt" >"$work/diff.txt"; then
    echo "FAIL: our reader differs from the Windows reader (< Windows, > ours):"
    cat "$work/diff.txt"
    exit 1
fi
echo "ok: $lookups results agree"
