#!/usr/bin/env bash
# The real Tarrowind.asi's library entry with reasons 0 to 3, and its version resource, as
# Windows (Wine) sees them: tests/wine/dllmain_check.cpp does the checking. The resource must
# name the build as the Linux simulator's version line does, both built from this tree.
#   dllmain.sh SIM WORKDIR
set -euo pipefail
sim=$1 work=$2
source "$(dirname "$0")/wine_env.sh"

rm -rf "$work"
mkdir -p "$work"
# A minute is enough for the start-up lines; the default world expects more of a run.
"$sim" --workdir "$work" --minutes 1 --quiet >/dev/null 2>&1 || true
build=$(sed -n 's/^\[[^]]*\] \[INFO\] Tarrowind \([0-9].*\)$/\1/p' "$work"/Tarrowind/logs/*.log)
if [ -z "$build" ]; then
    echo "FAIL: the simulator's log has no version line"
    exit 1
fi
wine_run "$WINDOWS_BIN/tarrowind-dllmain-check.exe" "$build"
