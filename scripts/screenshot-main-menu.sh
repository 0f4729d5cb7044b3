#!/usr/bin/env bash
# Opens the program under a real X server (Xvfb, with openbox for the window frame)
# and saves a picture of the main menu to docs/img/menu-principal.png.
# Needs: xvfb, openbox, imagemagick, x11-utils (apt-get install them first).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
binary=${BUILD_DIR:-$root/build}/src/configurador-adsl
out=$root/docs/img/menu-principal.png
display=:${DISPLAY_NUMBER:-93}

mkdir -p "$(dirname "$out")"
Xvfb "$display" -screen 0 640x400x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $wm $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
sleep 1
scratch=$(mktemp -d)
cp "$binary" "$scratch/"   # a portable folder of its own: nothing is written beside the build
DISPLAY=$display "$scratch/configurador-adsl" >/dev/null 2>&1 &
app=$!
sleep 2
id=$(DISPLAY=$display xwininfo -root -tree | awk '/Configuraci.*Zelvora/ {print $1}' | head -n 1 || true)
DISPLAY=$display import -frame -window "$id" "$out"
rm -rf "$scratch"
echo "$out"
