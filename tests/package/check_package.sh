#!/usr/bin/env bash
# Checks the Debian package as installed files: unpacked into a scratch root, the installed
# kestrin-cli keeps its statistics file in the user's configuration folder and writes nothing
# beside itself; the desktop entry and metadata validate; lintian finds no error.
# Usage: tests/package/check_package.sh build/release/kestrin_<version>_amd64.deb
set -euo pipefail
deb=$(readlink -f "$1")
examples=$(readlink -f "$(dirname "$0")/../../examples")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

dpkg -x "$deb" "$scratch/root"
bin="$scratch/root/usr/bin"
before=$(ls -A "$bin")
mkdir "$scratch/home"
(cd "$scratch" && env -u XDG_CONFIG_HOME HOME="$scratch/home" \
    "$bin/kestrin-cli" calc "$examples/fleet_battle.kbf" > "$scratch/calc.json")
grep -q '"tick":1' "$scratch/calc.json"
test -s "$scratch/home/.config/Kestrin/ShipStats.ini" \
    || { echo "no statistics file under HOME/.config/Kestrin" >&2; exit 1; }
[ "$(ls -A "$bin")" = "$before" ] || { echo "files written beside the installed binary" >&2; exit 1; }

desktop-file-validate "$scratch"/root/usr/share/applications/*.desktop
appstreamcli validate --no-net "$scratch"/root/usr/share/metainfo/*.metainfo.xml
"$bin/kestrin-cli" --version | grep -qx "kestrin-cli $(dpkg-deb -f "$deb" Version)"
# lintian refuses to run as root without this; errors fail the check, warnings are shown.
lintian --allow-root --fail-on error "$deb"
echo "package checks passed: $(basename "$deb")"
