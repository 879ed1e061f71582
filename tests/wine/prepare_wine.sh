#!/usr/bin/env bash
# Creates the Wine prefix of this build folder once, quietly; the other Wine tests need it.
set -euo pipefail
source "$(dirname "$0")/wine_env.sh"
if [ -f "$WINEPREFIX/system.reg" ]; then
    exit 0
fi
mkdir -p "$(dirname "$WINEPREFIX")"
# The registry reaches the disk when the Wine server ends, so wait for that too.
wineserver="$(dirname "$WINE")/wineserver"
[ -x "$wineserver" ] || wineserver=wineserver
if ! "$WINE" wineboot --init >"$WINEPREFIX.log" 2>&1 || ! "$wineserver" -w ||
    [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "could not create the Wine prefix $WINEPREFIX:" >&2
    cat "$WINEPREFIX.log" >&2
    exit 1
fi
