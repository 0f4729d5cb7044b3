#!/usr/bin/env bash
# Renders every window with its real widgets into docs/img/, for the user guide.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" >/dev/null
QT_QPA_PLATFORM=offscreen "${BUILD_DIR:-$root/build}/tools/window-pictures" "$root/docs/img"
