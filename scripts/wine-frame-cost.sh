#!/usr/bin/env bash
# What each encounter's most expensive frame costs the real Tarrowind.asi under Wine, at a base
# commit and in the working tree, measured in turn in one run on the same machine.
#   scripts/wine-frame-cost.sh BASE [ROUNDS]
# Builds the Windows side of the working tree (build/windows) and Tarrowind.asi at BASE
# (build/frame-cost-base/, kept for the next run), then for every encounter alone, 50, 100 and
# 200 peds around the player (the crowd of the Linux bench) and Debug lines on and off, runs
# the working tree's launcher with each DLL in turn, ROUNDS times (default 2), each time five
# loads of the plug-in, six simulated minutes each, the first encounter after one. Prints what
# each part of a log line costs here (bench/wine_line_parts.cpp), then a Markdown table: the
# natives of the worst frame (the one with the most), the least plug-in time (wall time less
# time inside natives) seen in it, base -> working tree, and in that run the plug-in's file
# writes (one a log line) and the time inside them.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: scripts/wine-frame-cost.sh BASE [ROUNDS]" >&2
    exit 2
fi
base=$(git rev-parse --verify "$1^{commit}")
rounds=${2:-2}
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
[ -x "$wine" ] || { echo "wine64 is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }

build_windows() {  # source folder, build folder, target...
    local source=$1 build=$2
    shift 2
    if [ ! -f "$build/CMakeCache.txt" ]; then
        cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            --toolchain "$source/cmake/mingw-w64-x86_64.cmake" >/dev/null
    fi
    cmake --build "$build" --target "$@" >/dev/null
}

echo "building Tarrowind.asi at ${base:0:12} and the Windows side of the working tree" >&2
base_dir=$repo/build/frame-cost-base
if [ "$(cat "$base_dir/commit" 2>/dev/null)" != "$base" ]; then
    rm -rf "$base_dir"
    mkdir -p "$base_dir/source"
    git archive "$base" | tar -x -C "$base_dir/source"
    echo "$base" >"$base_dir/commit"
fi
build_windows "$base_dir/source" "$base_dir/build" tarrowind_asi
cmake --preset windows >/dev/null
cmake --build --preset windows >/dev/null
bin=$repo/build/windows/bin
declare -A plugins=([base]=$base_dir/build/bin/Tarrowind.asi [tree]=$bin/Tarrowind.asi)

export WINEPREFIX=$repo/build/frame-cost-wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$wine" wineboot --init >/dev/null 2>&1
    "$(dirname "$(readlink -f "$wine")")/wineserver" -w || wineserver -w
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Every encounter the working tree knows, as its settings tool lists them: "name INI-key".
declare -A names=()
keys=()
while read -r name key; do
    names[$key]=$name
    keys+=("$key")
done < <("$repo/build/windows/packaging/tarrowind-settings-text" --encounters)

ini() {  # encounter key, Debug lines (true or false)
    local key
    printf '[Logging]\nEnableDebugLogging=%s\n' "$2"
    printf '[Event Timing]\nMinEventDelayMinutes=1\nMaxEventDelayMinutes=1\n'
    printf '[Encounters]\n'
    for key in "${keys[@]}"; do
        printf '%s=%s\n' "$key" "$([ "$key" = "$1" ] && echo true || echo false)"
    done
    printf '[Weather]\nSudden_Thunderstorm=false\nSudden_Hurricane=false\nSudden_Fog=false\n'
}

# Keeps the worst frame's natives and the least plug-in time over the runs of one DLL, and of
# that run the file writes in the frame and the time inside them.
declare -A natives least writes write_us
measure() {  # which (base or tree), peds
    local out
    out=$(cd "$work" && "$wine" "$bin/tarrowind-launcher.exe" --plugin "${plugins[$1]}" \
        --crowd "$2" --repeat 5 --minutes 6 --seed 7 --quiet | tr -d '\r')
    while read -r n us wus w; do
        natives[$1]=$n
        if [ -z "${least[$1]:-}" ] || awk -v a="$us" -v b="${least[$1]}" 'BEGIN {exit !(a < b)}'
        then
            least[$1]=$us write_us[$1]=$wus writes[$1]=$w
        fi
    done < <(sed -n 's/^---- frame cost: .* worst frame \([0-9]*\) natives, plug-in time \([0-9.]*\) us, of which \([0-9.]*\) us in \([0-9]*\) file writes$/\1 \2 \3 \4/p' <<<"$out")
}

# What each part of a log line costs this system (bench/wine_line_parts.cpp).
probe=$repo/build/windows/wine-line-parts.exe
x86_64-w64-mingw32-g++-posix -O2 -std=c++17 -Wall -Wextra -Werror -static \
    "$repo/bench/wine_line_parts.cpp" -o "$probe"
(cd "$work" && "$wine" "$probe" | tr -d '\r')
echo

echo "| encounter | peds near | natives in the worst frame, Debug lines on / off |" \
    "plug-in us in that frame, Debug lines on, before -> after |" \
    "file writes in it, Debug lines on | of which in those writes, before -> after |" \
    "plug-in us, Debug lines off, before -> after |"
echo "|---|---|---|---|---|---|---|"
for key in "${keys[@]}"; do
    for peds in 50 100 200; do
        row=()
        for debug in true false; do
            mkdir -p "$work/Tarrowind/logs"
            ini "$key" "$debug" >"$work/Tarrowind/Tarrowind.ini"
            natives=() least=() writes=() write_us=()
            for ((round = 0; round < rounds; ++round)); do
                measure base "$peds"
                measure tree "$peds"
            done
            rm -f "$work"/Tarrowind/logs/*.log
            shown=${natives[tree]}
            [ "${natives[base]}" = "$shown" ] || shown="${natives[base]} (before) ${shown}"
            row+=("$shown" "$(printf '%.0f -> %.0f' "${least[base]}" "${least[tree]}")"
                "${writes[tree]}" "$(printf '%.0f -> %.0f' "${write_us[base]}" "${write_us[tree]}")")
        done
        echo "| ${names[$key]} | $peds | ${row[0]} / ${row[4]} | ${row[1]} | ${row[2]} | ${row[3]} |" \
            "${row[5]} |"
    done
done
