#!/usr/bin/env bash
# Installs what is missing, builds, and opens the program from portable/ at the root
# of the repository: its settings, subscriber files, logs and puertos links live
# there, out of build/, so a rebuild or rm -rf build does not take them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
portable=${PORTABLE_DIR:-$root/portable}
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
mkdir -p "$portable"
# A new file, not the old one overwritten: a copy still running keeps its own.
cp --remove-destination "$build/src/configurador-adsl" "$portable/"
rm -rf "$portable/doc" && cp -r "$build/src/doc" "$portable/doc"
echo "Carpeta de trabajo del programa: $portable"
exec "$portable/configurador-adsl"
