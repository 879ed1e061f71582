#!/usr/bin/env bash
# The real Tarrowind.asi's library entry with reasons 0 to 3, and its version resource, as
# Windows (Wine) sees them: tests/wine/dllmain_check.cpp does the checking. The resource must
# give the name the build gave itself.
#   dllmain.sh
set -euo pipefail
source "$(dirname "$0")/wine_env.sh"
build=$(windows_build_name)
if [ -z "$build" ]; then
    echo "FAIL: the Windows build wrote no name for itself"
    exit 1
fi
wine_run "$WINDOWS_BIN/tarrowind-dllmain-check.exe" "$build"
