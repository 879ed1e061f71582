#!/usr/bin/env bash
# The real Tarrowind.asi's library entry with reasons 0 to 3, and its version resource, as
# Windows (Wine) sees them: tests/wine/dllmain_check.cpp does the checking.
#   dllmain.sh VERSION
set -euo pipefail
source "$(dirname "$0")/wine_env.sh"
wine_run "$WINDOWS_BIN/tarrowind-dllmain-check.exe" "$1"
