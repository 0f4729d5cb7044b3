#!/usr/bin/env bash
# Installs what is missing, builds, and opens the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "${BUILD_DIR:-$root/build}/src/configurador-adsl"
