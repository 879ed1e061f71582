#!/usr/bin/env bash
# Brings the Windows build folder up to date, configuring it the first time, so that the Wine
# tests never run a stale Tarrowind.asi against a newer simulator.
#   build_windows.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1 build=$2
mkdir -p "$build"
log="$build/wine-tests-build.log"
if [ ! -f "$build/CMakeCache.txt" ]; then
    if ! cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        --toolchain "$source_dir/cmake/mingw-w64-x86_64.cmake" >"$log" 2>&1; then
        cat "$log"
        exit 1
    fi
fi
if ! cmake --build "$build" --parallel 2 >"$log" 2>&1; then
    echo "the Windows build failed:"
    tail -50 "$log"
    exit 1
fi
