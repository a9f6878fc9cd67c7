#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks, then configures and builds Quelvid in ./build.
# Sourced by run.sh and test.sh.
set -euo pipefail

QUELVID_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QUELVID_BUILD="${QUELVID_BUILD:-$QUELVID_ROOT/build}"

packages=(build-essential cmake ninja-build qt6-base-dev qt6-svg-dev ffmpeg
          xvfb xauth xdotool imagemagick x11-apps x11-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$QUELVID_ROOT" -B "$QUELVID_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$QUELVID_BUILD"
