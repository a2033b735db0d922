#!/usr/bin/env bash
# Checking builds: the test suite under the sanitizers, each in a build
# folder of its own.
#   scripts/sanitize.sh address   every test under AddressSanitizer and UBSan
#                                 (build-asan/)
#   scripts/sanitize.sh thread    the tests that run threads (sync worker,
#                                 plkui model, store concurrency, live window,
#                                 lazy services, the window-in-front watcher)
#                                 under ThreadSanitizer (build-tsan/)
# Extra arguments go to ctest. Any report fails the test it came from.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
kind="${1:?usage: scripts/sanitize.sh address|thread [ctest arguments]}"
shift

case "$kind" in
  address)
    build="${TK410_ASAN_BUILD:-$root/build-asan}"
    sanitize=address,undefined
    targets=()
    tests=()
    ;;
  thread)
    build="${TK410_TSAN_BUILD:-$root/build-tsan}"
    sanitize=thread
    # The test programs that start threads, and in them the tests that do.
    targets=(tests_sync tests_plkui tests_store tests_ui tests_ui_qt tests_nordic tests_platform tests_rules)
    tests=(-R 'WorkerTest|WorkerIdleTest|WorkerCloseTest|LazyServicesTest|FollowTest|ThreadSafetyTest|HeadlessRuntime|TwoThreadsHammering|WaitDialogEndsByWorker|WaitsForTheWorker|NordicEndToEnd|LiveWindowTest')
    ;;
  *)
    echo "scripts/sanitize.sh: unknown kind '$kind' (address or thread)" >&2
    exit 2
    ;;
esac

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_stack_use_after_return=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$root/scripts/sanitizer/lsan.supp:print_suppressions=0}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-suppressions=$root/scripts/sanitizer/tsan.supp:halt_on_error=1:second_deadlock_stack=1}"

"$root/scripts/deps.sh"
source "$root/scripts/ccache.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  # -O1 and line tables only: the sanitizers' usual level, and a build about
  # a third shorter than -O2 with full debug information.
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
    -DTK410_SANITIZE="$sanitize" -DTK410_BUILD_BENCH=OFF "${compiler_launcher[@]}"
fi
if [ "${#targets[@]}" -gt 0 ]; then
  cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
else
  cmake --build "$build" -j "$(nproc)"
fi
cd "$build"
ctest --output-on-failure -j "$(nproc)" "${tests[@]}" "$@"
