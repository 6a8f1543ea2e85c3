#!/usr/bin/env bash
# Makes the default print templates that a new cash book loads: every
# resources/PrintTemplates/src/NAME.fodt gives resources/PrintTemplates/NAME.odt and NAME.doc.
# The produced files are committed, so building and testing the program need no LibreOffice;
# run this script after changing a source and commit its output with it.
# Needs LibreOffice Writer and pdfinfo; installs them from Debian's packages when missing.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
src=$root/resources/PrintTemplates/src
out=$root/resources/PrintTemplates

install_missing() {
    local missing=()
    command -v soffice >/dev/null 2>&1 || missing+=(libreoffice-writer-nogui)
    command -v pdfinfo >/dev/null 2>&1 || missing+=(poppler-utils)
    [ ${#missing[@]} -eq 0 ] && return 0
    local as_root=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null 2>&1 || {
            echo "Run as root: apt-get install -y ${missing[*]}" >&2
            exit 1
        }
        as_root=(sudo)
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${as_root[@]}" apt-get update -qq
    "${as_root[@]}" apt-get install -y -qq "${missing[@]}"
}

# Sheets of A4 that the printed form must take: the copies of a payment order are laid out
# two on a sheet for Ukraine and one on a sheet for Russia; a cash order takes one sheet.
expected_sheets() {
    case "$1" in
    *"(2 экз) (Украина)"*) echo 1 ;;
    *"(3 экз) (Украина)"*) echo 2 ;;
    *"(2 экз) (Россия)"*) echo 2 ;;
    *"(3 экз) (Россия)"*) echo 3 ;;
    *) echo 1 ;;
    esac
}

install_missing

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
office=(soffice --headless --norestore "-env:UserInstallation=file://$work/profile")

shopt -s nullglob
sources=("$src"/*.fodt)
[ ${#sources[@]} -gt 0 ] || { echo "No templates in $src" >&2; exit 1; }

rm -f "$out"/*.odt "$out"/*.doc
"${office[@]}" --convert-to odt --outdir "$out" "${sources[@]}" >/dev/null 2>&1
"${office[@]}" --convert-to "doc:MS Word 97" --outdir "$out" "${sources[@]}" >/dev/null 2>&1

status=0
for source in "${sources[@]}"; do
    name=$(basename "$source" .fodt)
    want=$(expected_sheets "$name")
    for ext in odt doc; do
        file=$out/$name.$ext
        [ -s "$file" ] || { echo "Not made: $file" >&2; status=1; continue; }
        "${office[@]}" --convert-to pdf --outdir "$work/$ext" "$file" >/dev/null 2>&1
        pages=$(pdfinfo "$work/$ext/$name.pdf" | awk '/^Pages:/ { print $2 }')
        if [ "$pages" != "$want" ]; then
            echo "$name.$ext prints on $pages sheets, expected $want" >&2
            status=1
        fi
    done
done
[ $status -eq 0 ] && echo "Templates made in $out"
exit $status
