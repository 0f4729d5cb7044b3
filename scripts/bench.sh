#!/usr/bin/env bash
# Benchmarks against the simulated modem, beside a pexpect peer: installs what they
# need, builds into build-bench/, runs them (a few minutes) and prints the table.
# Arguments go to bench/run_bench.py (--runs N, --skip idle|sessions|startup,
# --platform xcb for the real window on an Xvfb).
# Method and recorded results: docs/performance.md.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-bench

"$root/scripts/install-deps.sh"
packages=(python3 python3-pexpect xvfb x11-utils coreutils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DADSL_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target modem-sim bench-session configurador-adsl
exec /usr/bin/python3 -B "$root/bench/run_bench.py" --build "$build" "$@"
