#!/usr/bin/env bash
# Starts the built program under a real X server (Xvfb), checks that the main menu is
# shown with its exact caption, presses Escape and checks that the program ends.
set -euo pipefail
binary=$1
caption='Configuración Módems Zelvora ADSL (v. 1.0)'

work=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Let the server pick a free display and tell us which.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
unset QT_QPA_PLATFORM

# A portable folder of its own, so nothing is written beside the build.
cp "$binary" "$work/"
"$work/$(basename "$binary")" >"$work/app.log" 2>&1 &
app=$!

window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --name 'Zelvora' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "FAIL: the main menu did not appear"; cat "$work/app.log"; exit 1; }
shown=$(xdotool getwindowname "$window")
[ "$shown" = "$caption" ] || { echo "FAIL: caption is '$shown'"; exit 1; }

xdotool windowfocus --sync "$window"
xdotool key Escape 2>/dev/null || true  # the window may be gone before the key is released
for _ in $(seq 50); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app" 2>/dev/null; then echo "FAIL: Escape did not end the program"; exit 1; fi
wait "$app" || { echo "FAIL: the program ended with an error"; exit 1; }
app=""
echo "main menu shown as '$shown', closed by Escape"
