#!/usr/bin/env bash
# Drives the built program on a real X server (Xvfb) only with keys, as an installer
# does, without selecting anything first: the service settings, the six model and mode
# variants of the data screens (saved once with Tab to Salvar and Enter, once with
# Alt+S), and a loading session against the simulated modem. The results are read
# from the files the program writes and from window titles. On a failure the work
# folder is kept, with a picture of the screen.
#
#   keyboard-suite.sh <configurador-adsl> <modem-sim> <folder of the reference files>
set -euo pipefail
binary=$1
modem_sim=$2
refs=$3

work=$(mktemp -d)
app_dir=$work/app
phone=900123456
cleanup() {
  local status=$?
  [ -n "${sim:-}" ] && kill "$sim" 2>/dev/null || true
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  if [ "$status" -eq 0 ]; then rm -rf "$work"; else echo "work folder kept: $work"; fi
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  xwd -root -silent >"$work/failure.xwd" 2>/dev/null && echo "screen at the failure: $work/failure.xwd"
  echo "windows shown:"
  for w in $(xdotool search --onlyvisible --name '.' 2>/dev/null || true); do
    echo "  $(xdotool getwindowname "$w" 2>/dev/null || true)"
  done
  exit 1
}

# A visible window whose title matches, within ten seconds.
wait_window() {
  local pattern=$1 id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits for a window and gives it the keyboard (there is no window manager).
use_window() {
  local id
  id=$(wait_window "$1") || fail "no window '$1'"
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  sleep 0.2
}

# A message box takes the focus by itself; Enter presses its default button.
answer_box() {
  local id
  id=$(wait_window "$1") || fail "no message box '$1'"
  for _ in $(seq 50); do [ "$(xdotool getwindowfocus 2>/dev/null)" = "$id" ] && break; sleep 0.1; done
  sleep 0.1
  keys Return
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "the box '$1' stayed open after Enter"
}

keys() { xdotool key --delay 25 "$@"; }
typed() { xdotool type --delay 25 "$1"; }
access_key() { keys "alt+$1"; sleep 0.3; }

# Tab into each next box and type over what it shows (digits), in one run of xdotool.
tab_type() {
  local -a chain=()
  for text in "$@"; do chain+=(Tab $(echo "$text" | grep -o .)); done
  keys "${chain[@]}"
}

same_file() {
  local got=$1 expected=$2 what=$3
  [ -f "$got" ] || fail "$what: $got was not written"
  cmp -s "$got" "$expected" || { diff <(tr -d '\r' <"$expected") <(tr -d '\r' <"$got") || true; fail "$what: $got differs"; }
  echo "ok: $what"
}

# ---- The X server and the program, in a fresh portable folder ----
exec 3>"$work/display"
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$work/display")
unset QT_QPA_PLATFORM
mkdir -p "$app_dir"
cp "$binary" "$app_dir/"
"$app_dir/$(basename "$binary")" >"$work/app.log" 2>&1 &
app=$!
menu='^Configuraci.*n M.*dems Zelvora ADSL'

# ---- Service settings: Com9, then every box typed over, Tab to Salvar, Enter ----
use_window "$menu"
access_key a
use_window '^Configuraci.*n del servicio ADSL$'
keys Down Down Down Down Down Down Down Down  # Com1 to Com9
# Minimum and maximum digits (the maximum written back as 9), VPI, VCI, then the
# EDC address and mask and the DNS address.
tab_type 9 09 8 32  198 51 100 0  255 255 255 240  192 0 2 53
keys Tab Return
answer_box '^Configuraci.*n guardada$'
printf '%s\r\n' ' 9 ' 198 51 100 0 255 255 255 240 192 0 2 53 8 32 9 9 >"$work/conf_gen.expected"
same_file "$app_dir/conf_gen.dat" "$work/conf_gen.expected" "settings screen"
use_window '^Configuraci.*n del servicio ADSL$'
keys Escape

# ---- A loading session against the simulated Efficient SS5660 on Com9 ----
# The subscriber's file as the data screen writes it (checked below).
mkdir -p "$app_dir/Configuraciones"
cp "$refs/efficient-dhcp.ref" "$app_dir/Configuraciones/$phone.cfg"
"$modem_sim" --model efficient --instant --app-dir "$app_dir" --com 9 >"$work/modem-sim.log" 2>&1 &
sim=$!
for _ in $(seq 50); do [ -e "$app_dir/puertos/com9" ] && break; sleep 0.1; done
[ -e "$app_dir/puertos/com9" ] || fail "the simulated modem made no port"
use_window "$menu"
keys Tab Tab Tab Return  # from the first button to "Cargar Configuración en el Módem"
use_window '^Configuraci.*n del M.*dem ADSL$'
typed "$phone"
keys Tab Tab Tab Return  # the dialogue, Volver, then Configurar
answer_box '^Encendido del dispositivo'
answer_box '^Configuraci.*n finalizada$'
[ -s "$app_dir/Logs/$phone.log" ] || fail "no session log"
echo "ok: loading session"
use_window '^Configuraci.*n del M.*dem ADSL$'
keys Escape
kill "$sim"
sim=""

# ---- The data screens ----
# One subscriber typed over the screen's first values and saved. $1 model index, $2 o
# (DHCP) or u (NAPT), $3 arrow keys to the modality, $4 to $7 the four quads, $8 how
# Salvar is pressed (enter or alt); the leading-zero entry is the last user octet with
# Enter, the last modem octet (typed again after Shift+Tab) with Alt+S.
save_subscriber() {
  local model=$1 mode=$2 modality=$3 how=$8
  local -a octets
  read -r -a octets <<<"${4//./ } ${5//./ } ${6//./ } ${7//./ }"
  use_window "$menu"
  access_key i
  use_window '^Selecci.*n de Modem ADSL$'
  keys Home $(for _ in $(seq "$model"); do echo Down; done)
  access_key "$mode"
  keys Return
  use_window '^Configuraci.*n (DHCP|NAPT) para '
  typed "$phone"
  keys Tab
  [ -n "$modality" ] && keys $modality
  [ "$how" = enter ] && octets[3]=$(printf '%03d' "${octets[3]}")
  tab_type "${octets[@]}"
  if [ "$how" = enter ]; then
    keys Tab Return
  else
    keys shift+Tab shift+Tab shift+Tab shift+Tab
    typed "$(printf '%03d' "${octets[11]}")"
    access_key s
  fi
  answer_box '^Salvar\.\.\.$'
  use_window '^Configuraci.*n (DHCP|NAPT) para '
  keys Escape
  use_window '^Selecci.*n de Modem ADSL$'
  keys Escape
}

# $1 reference file, then the arguments of save_subscriber without the last.
variant() {
  local ref=$1
  shift
  local saved=$app_dir/Configuraciones/$phone.cfg
  for how in enter alt; do
    rm -f "$saved"
    save_subscriber "$@" "$how"
    same_file "$saved" "$refs/$ref" "$ref, saved with $how"
    mv "$saved" "$work/$ref.$how"
  done
}

variant efficient-dhcp.ref 2 o '' 192.0.2.13 255.255.255.248 10.1.1.6 255.255.255.252
variant efficient-napt.ref 2 u '' 192.0.2.13 255.255.255.248 10.1.1.6 255.255.255.252
# The Alcatel examples were made with other EDC and DNS addresses.
printf '%s\r\n' ' 9 ' 203 0 113 192 255 255 255 240 203 0 113 10 8 32 9 9 >"$app_dir/conf_gen.dat"
variant office-dhcp.ref 0 o 'Right Right' 192.0.2.66 255.255.255.248 198.51.100.42 255.255.255.252
variant office-napt.ref 0 u '' 192.0.2.65 255.255.255.252 172.16.0.1 255.255.255.240
variant pro-dhcp.ref 1 o 'Right' 192.0.2.66 255.255.255.248 198.51.100.42 255.255.255.252
variant pro-napt.ref 1 u 'Right Right' 192.0.2.65 255.255.255.252 172.16.0.1 255.255.255.240

use_window "$menu"
keys Escape
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end"
app=""
echo "keyboard suite passed"
