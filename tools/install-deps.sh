#!/usr/bin/env bash
# Installs the Debian packages that building and running need; with --tests also those that only
# the tests need, with --desktop LibreOffice with its windows. Installs only what is missing;
# needs root or sudo for that.
#
# firebird3.0-server is for the tests of books on a server: they start its /usr/sbin/firebird
# themselves, on a private folder and a free port. Its installation may start and enable the
# system's Firebird service; the tests neither use nor disturb it, running or not.
set -eu

packages=(
    cmake ninja-build g++ make pkg-config
    qt6-base-dev qt6-charts-dev qt6-translations-l10n
    firebird-dev firebird3.0-server-core firebird3.0-utils
    libxlsxwriter-dev zlib1g-dev
    # The zip archives of the ODT and DOCX templates.
    libminizip-dev
    # The printed reports' fonts: metric twins of Times New Roman and Arial.
    fonts-liberation2
    # PDF files drawn for the printer.
    libpoppler-qt6-dev
)

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

# LibreOffice converts the editable templates, shows and edits them in its own windows, and
# shows the exported sheets in Calc; the program runs whichever "soffice" is on PATH. With
# --desktop (make run) the desktop Writer and Calc are installed, replacing the window-less
# packages, which conflict with them. Otherwise the window-less build is enough (converting,
# printing, the tests) where no desktop LibreOffice is present, and a desktop one is completed.
if [ "${1:-}" = "--desktop" ] || installed libreoffice-core; then
    packages+=(libreoffice-writer libreoffice-calc)
else
    packages+=(libreoffice-writer-nogui libreoffice-calc-nogui)
fi
if [ "${1:-}" = "--tests" ]; then
    packages+=(firebird3.0-server xvfb xauth)
fi

# The server package gives the engine's shared lock folder to its user "firebird". The tests keep
# their lock files in their own home; the program's embedded engine needs that folder.
lock_folder_note() {
    if [ -d /tmp/firebird ] && [ ! -w /tmp/firebird ]; then
        echo "Note: /tmp/firebird belongs to the Firebird service; to run the program, join its" \
             "group: sudo adduser $(id -un) firebird (then log in again)." >&2
    fi
    return 0
}

missing=()
for p in "${packages[@]}"; do
    if ! installed "$p"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    lock_folder_note
    exit 0
fi

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
lock_folder_note
