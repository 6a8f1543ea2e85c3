#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Installs only what is missing; needs root or sudo for that.
set -eu

packages=(
    cmake ninja-build g++ make pkg-config
    qt6-base-dev qt6-charts-dev libqt6charts6-dev qt6-translations-l10n
    firebird-dev firebird3.0-server-core firebird3.0-utils
    libxlsxwriter-dev zlib1g-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "Cannot install packages: run as root:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq "${missing[@]}"
