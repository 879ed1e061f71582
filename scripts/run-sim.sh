#!/usr/bin/env bash
# Quick start: installs what is missing, builds, and runs the simulator on its default world.
# Extra arguments go to tarrowind-sim (for example --minutes 60 --seed 7).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh linux
cmake --preset linux >/dev/null
cmake --build --preset linux -- tarrowind-sim
mkdir -p run
exec build/linux/sim/tarrowind-sim --workdir run "$@"
