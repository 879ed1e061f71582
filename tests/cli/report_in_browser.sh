#!/usr/bin/env bash
# Opens the HTML report of a short run in headless Chromium, at the map of its first
# encounter: the page must run without a script error, and the timeline, the map of the run
# and the encounter's map must be drawn.
#   report_in_browser.sh SIM WORKDIR SCENARIO
set -euo pipefail
sim=$1 work=$2 scenario=$3
rm -rf "$work"
mkdir -p "$work"
"$sim" --workdir "$work/game" --scenario "$scenario" --minutes 5 --quiet \
    --report "$work/report.html" >"$work/sim.txt"

profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" --virtual-time-budget=5000 \
    --dump-dom "file://$work/report.html#enc-1" >"$work/dom.html" 2>"$work/chromium.txt"

tr '\n' ' ' <"$work/dom.html" >"$work/dom-one-line.html"
fail=0
check() {  # check WHAT PATTERN: the rendered page must contain PATTERN (extended regex)
    if ! grep -Eq -- "$2" "$work/dom-one-line.html"; then
        echo "FAIL: $1 (no match for: $2)"
        fail=1
    fi
}
errors=$(grep -o '<pre id="script-errors"[^>]*>[^<]*</pre>' "$work/dom-one-line.html" || true)
if [ "$errors" != '<pre id="script-errors" hidden=""></pre>' ]; then
    echo "FAIL: script errors in the page: ${errors:-the error box is gone}"
    fail=1
fi
check "the page's script ran to its end" '<html [^>]*data-script="ready"'
check "the timeline shows the encounter" '<svg class="timeline"[^>]*>.*<rect class="encounter o-'
check "the map of the run shows the player and the encounter" '<svg class="map overview"[^>]*>.*<path class="player-at" d="M-?[0-9].*<circle class="encounter o-'
check "the link opened the first encounter" '<details class="encounter hit" id="enc-1" open=""'
check "the encounter's map has a track" '<svg class="map encounter-map"[^>]*>.*<polyline class="track" points="[-0-9]'
check "the log is there" '<p id="l0" class="lv-i">'
if [ $fail -ne 0 ]; then
    echo "(the rendered page is $work/dom.html)"
    exit 1
fi
echo "ok: $(wc -c <"$work/report.html") bytes, no script errors, timeline and maps drawn"
