#!/usr/bin/env bash
# Installs whatever the build and the tests need that this Debian 12 machine
# lacks, then configures and builds into ./build. Quick when all is there.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${HMK_BUILD_DIR:-$root/build}

packages=(
    g++ cmake ninja-build pkgconf
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
    fonts-arphic-uming fonts-wqy-zenhei
    xvfb xauth x11-utils xdotool
    libbenchmark-dev
    clang-14 libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Warnings fail the build in both passes; a later -D in "$@" may override.
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHMK_WARNINGS_AS_ERRORS=ON "$@" >/dev/null
cmake --build "$build_dir" --parallel
