#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those still missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev libqt6sql6-sqlite qt6-svg-dev
    libsqlite3-dev sqlite3 python3
    libxlsxwriter-dev unzip
    clang libclang-rt-14-dev
    xvfb xauth xdotool x11-apps x11-utils libxcb1-dev faketime openbox xclip
    qt6-gtk-platformtheme gnome-themes-extra
    fonts-liberation fonts-ipafont-gothic
    desktop-file-utils appstream dpkg-dev file lintian bash-completion
    libreoffice-calc
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
# Waits for another package manager run (an unattended upgrade, say) rather than failing.
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 update -q
"${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=300 install -y -q --no-install-recommends "${missing[@]}"
