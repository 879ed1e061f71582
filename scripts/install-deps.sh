#!/usr/bin/env bash
# Installs the Debian packages the project needs and that are missing.
#   scripts/install-deps.sh          everything (Linux build, tests, Windows build, Wine, and
#                                    the browser that opens the run report in a test)
#   scripts/install-deps.sh linux    only what the Linux build and the simulator need
set -euo pipefail

linux_packages=(g++ cmake ninja-build git libgtest-dev nlohmann-json3-dev libcli11-dev)
extra_packages=(g++-mingw-w64-x86-64-posix wine64 zip unzip make clang libclang-rt-14-dev chromium
    parallel)

packages=("${linux_packages[@]}")
if [ "${1:-all}" != "linux" ]; then
    packages+=("${extra_packages[@]}")
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
