#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test through CTest. Then proves the
# same suite clean under AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# every fuzz target briefly on its seed corpus. Exits non-zero on any failure,
# sanitizer report or fuzz finding.
#
# The loading sessions run on threads of their own: the test programs that drive them
# (loader, screens, faults, and the command line's several at once) run once more under
# ThreadSanitizer.
#
# Build folders: $BUILD_DIR (build/), $ASAN_BUILD_DIR (build-asan/), $TSAN_BUILD_DIR
# (build-tsan/) and $FUZZ_BUILD_DIR (build-fuzz/); $FUZZ_SECONDS per fuzz target (5).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
asan_build=${ASAN_BUILD_DIR:-$root/build-asan}
tsan_build=${TSAN_BUILD_DIR:-$root/build-tsan}
fuzz_build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
jobs=$(nproc)
started=$SECONDS

step() { echo; echo "== $* ($((SECONDS - started)) s)"; }

"$root/scripts/install-deps.sh"

step "Build and tests"
BUILD_DIR=$build "$root/scripts/build.sh"
main_log=$(mktemp)
trap 'rm -f "$main_log"' EXIT
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 300) | tee "$main_log"
main_summary=$(grep -E '^[0-9]+% tests passed' "$main_log" | tail -n 1)

step "The tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$root" -B "$asan_build" -DCMAKE_BUILD_TYPE=Debug -DADSL_SANITIZE=ON \
  -DADSL_BUILD_BENCH=OFF >/dev/null
cmake --build "$asan_build" -j"$jobs" >"$asan_build/build.log" 2>&1 ||
  { tail -n 60 "$asan_build/build.log"; exit 1; }
export ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
(cd "$asan_build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs" --timeout 600 \
  >ctest.log 2>&1) || { tail -n 80 "$asan_build/ctest.log"; exit 1; }
# A report from a process whose failure nobody checks still counts.
if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' \
    "$asan_build/Testing/Temporary/LastTest.log"; then
  grep -nE -A 20 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' \
    "$asan_build/Testing/Temporary/LastTest.log" | head -n 80
  exit 1
fi
echo "sanitizers: $(grep -E '^[0-9]+% tests passed' "$asan_build/ctest.log" | tail -n 1), no report"

step "The session tests under ThreadSanitizer"
cmake -S "$root" -B "$tsan_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DADSL_TSAN=ON \
  -DADSL_BUILD_BENCH=OFF >/dev/null
cmake --build "$tsan_build" -j"$jobs" --target tests_loader tests_screens tests_faults tests_cli \
  >"$tsan_build/build.log" 2>&1 || { tail -n 60 "$tsan_build/build.log"; exit 1; }
# A report fails the program (exit code 66) even when every test passed. The command
# line's tests start the built program and then more threads: Qt starts a program with
# clone(CLONE_VM | CLONE_VFORK), which ThreadSanitizer takes for a fork of the test
# program itself (the child only execs), hence die_after_fork=0.
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:die_after_fork=0:suppressions=$root/scripts/tsan.supp"
for area in loader screens faults cli; do
  QT_QPA_PLATFORM=offscreen "$tsan_build/tests/tests_$area" --gtest_brief=1 \
    >"$tsan_build/tests_$area.log" 2>&1 || { tail -n 80 "$tsan_build/tests_$area.log"; exit 1; }
  echo "tests_$area: $(grep -E '^\[  PASSED  \]' "$tsan_build/tests_$area.log"), no report"
done

step "Fuzz targets, ${FUZZ_SECONDS:-5} s each"
CC=clang CXX=clang++ cmake -S "$root" -B "$fuzz_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DADSL_FUZZ=ON -DADSL_BUILD_TESTS=OFF -DADSL_BUILD_BENCH=OFF >/dev/null
cmake --build "$fuzz_build" -j"$jobs" --target fuzz_targets >"$fuzz_build/build.log" 2>&1 ||
  { tail -n 60 "$fuzz_build/build.log"; exit 1; }
"$root/fuzz/run.sh" "$fuzz_build" "${FUZZ_SECONDS:-5}"

step "Done"
echo "$main_summary"
