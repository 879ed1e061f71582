# Sourced by the Wine tests. CTest sets WINE (the wine64 loader), WINEPREFIX (one prefix per
# test build folder), WINEDEBUG=-all and WINDOWS_BIN (bin/ of the Windows build folder).
: "${WINE:?WINE is not set}" "${WINEPREFIX:?WINEPREFIX is not set}" "${WINDOWS_BIN:?}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
export LC_ALL=C

for program in Tarrowind.asi ScriptHookRDR2.dll tarrowind-launcher.exe tarrowind-ini-dump.exe \
               tarrowind-dllmain-check.exe; do
    if [ ! -f "$WINDOWS_BIN/$program" ]; then
        echo "missing $WINDOWS_BIN/$program: build the Windows side first" \
             "(cmake --preset windows && cmake --build --preset windows)" >&2
        exit 1
    fi
done

# Runs a Windows program under Wine; its text output loses the CR of its line ends.
wine_run() {
    "$WINE" "$@" | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

# The one session recording a game folder's run left, in `rec`; with none or more than one, a
# FAIL line naming what (WHAT: "the DLL wrote", ...), the folder's listing, and exit 1.
only_recording() {  # game folder, what
    local recordings=("$1"/Tarrowind/logs/*.rec)
    if [ ${#recordings[@]} != 1 ] || [ ! -f "${recordings[0]}" ]; then
        echo "FAIL: $2 no recording (or more than one):"
        ls -l "$1/Tarrowind/logs"
        exit 1
    fi
    rec=${recordings[0]}
}

# A game folder's daily logs in date order, each under a line "==== <file name>", without CRs,
# the build's name on the version line written BUILD (a commit made since the Linux build
# renames only the Windows one).
daily_logs() {
    local log
    for log in "$1"/Tarrowind/logs/Tarrowind_*.log; do
        echo "==== ${log##*/}"
        tr -d '\r' <"$log"
    done | sed -E 's/^(\[[0-9 :-]{19}\] \[INFO\] Tarrowind [0-9]+\.[0-9]+\.[0-9]+) \(.*\)$/\1 (BUILD)/'
}

# The name the Windows build gave itself ("0.1.0 (a31eb1e)"), which the DLL's version line and
# version resource must give.
windows_build_name() {
    sed -n 's/^set(TARROWIND_BUILD_DESCRIPTION "\(.*\)")$/\1/p' \
        "$WINDOWS_BIN/../generated/build_info.cmake"
}
