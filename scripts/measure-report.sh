#!/usr/bin/env bash
# Measures the HTML report of a simulated day in the town with every encounter and weather
# event on: its size, and how long headless Chromium takes to parse it and lay it out, as the
# page itself reads it (performance.now() at the end of parsing and after the first layout).
#   scripts/measure-report.sh [WORKDIR]        (after a Linux build)
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(realpath -m "${1:-build/report-day}")
sim=build/linux/sim/tarrowind-sim

rm -rf "$work"
mkdir -p "$work/game/Tarrowind"
# The town's own INI is none, so the one in the game folder is read: everything on.
printf '%s\n' "[Logging]" "EnableDebugLogging=true" "[Weather]" "Sudden_Thunderstorm=true" \
    "Sudden_Hurricane=true" "Sudden_Fog=true" >"$work/game/Tarrowind/Tarrowind.ini"
"$sim" --workdir "$work/game" --scenario scenarios/town.json --minutes 1440 --quiet \
    --report "$work/day.html" | grep -E "^(simulated|encounters run|weather events run)"
echo "report: $(wc -c <"$work/day.html") bytes"

# A copy that writes its own timings onto the page.
sed 's|</body></html>|<script>document.documentElement.dataset.parsedMs = Math.round(performance.now());addEventListener("load", function () { document.body.offsetHeight; document.documentElement.dataset.laidOutMs = Math.round(performance.now()); });</script></body></html>|' \
    "$work/day.html" >"$work/day-timed.html"
for run in 1 2 3; do
    profile=$(mktemp -d)
    chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$profile" --dump-dom "file://$work/day-timed.html" 2>/dev/null |
        grep -o '<html[^>]*>' | sed "s/^/load $run: /"
    rm -rf "$profile"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
