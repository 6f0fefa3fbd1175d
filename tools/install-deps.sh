#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# As root it runs apt-get itself; otherwise it uses sudo when that works
# without a password, and else prints the exact command and stops.
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    libsdl2-dev
    libfreetype-dev libfontconfig-dev
    fonts-wqy-microhei fonts-arphic-uming fonts-dejavu-core
    libpng-dev zlib1g-dev libjpeg62-turbo-dev libgif-dev
    libssl-dev
    libcurl4-openssl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev
    xvfb xauth xdotool x11-utils
    zenity
    imagemagick
    xdg-utils
    libx11-dev libxfixes-dev
    xclip
    libcurl4-openssl-dev
    python3
    desktop-file-utils
    clang libclang-rt-14-dev
)
if [ "${1:-}" = "--list" ]; then printf '%s\n' "${packages[@]}"; exit 0; fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    runner=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    runner=(sudo -n)
else
    echo "Some packages are missing and this user cannot install them. Run:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${runner[@]}" apt-get update -qq
"${runner[@]}" apt-get install -y -qq "${missing[@]}"
