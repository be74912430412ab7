#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quenwrite need, and only the
# ones that are missing (apt-get; sudo when not root).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config file
    qt6-base-dev libqt6test6 qt6-qpa-plugins libgl-dev
    libgtest-dev libbenchmark-dev
    g++-mingw-w64-i686 binutils-mingw-w64-i686
    clang-14 libclang-rt-14-dev clang-format
    fonts-liberation2
    xvfb xauth xdotool x11-utils imagemagick openbox
    dbus at-spi2-core python3-pyatspi
    desktop-file-utils lintian dpkg-dev
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "All build and test packages are installed."
    exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
