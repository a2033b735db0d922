#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/, clang with ASan and UBSan) and runs each
# for SECONDS (default 60), one after another.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (TARGET: xml_document, ...)
#
# Each target starts from its committed seeds (fuzz/corpus/<target>/) and
# the inputs earlier runs kept; inputs that reach new code are merged into
# that cache, outside the tree: ${TK410_FUZZ_CACHE:-$XDG_CACHE_HOME/tk410-fuzz}.
# A crash (memory error, undefined behaviour, failed check) prints the saved
# input's path and the command that replays it, and the script exits 1
# after running the other targets.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true
build="${TK410_FUZZ_BUILD:-$root/build-fuzz}"
cache="${TK410_FUZZ_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tk410-fuzz}"

source "$root/scripts/ccache.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTK410_FUZZ=ON \
    -DTK410_BUILD_GUI=OFF -DTK410_BUILD_BENCH=OFF "${compiler_launcher[@]}" >/dev/null
fi
cmake --build "$build" --target fuzz -j "$(nproc)"

# The targets' files go to a folder of this run (in memory where possible).
shm=/dev/shm
[ -w "$shm" ] || shm="${TMPDIR:-/tmp}"
run="$(mktemp -d "$shm/tk410-fuzz-run.XXXXXX")"
trap 'rm -rf "$run"' EXIT
export TMPDIR="$run"
# Allocations unfilled, a small quarantine and short allocation stacks make
# the file targets about twice as fast; a replay without these options
# prints the full report.
export ASAN_OPTIONS="${ASAN_OPTIONS:-max_malloc_fill_size=0:quarantine_size_mb=16:malloc_context_size=5}"

dictionary() {
  case "$1" in
    xml_document | profile_file | macro_file | catalog) echo "$root/fuzz/dict/xml.dict" ;;
    wired_frames | nordic_frames) echo "$root/fuzz/dict/frames.dict" ;;
  esac
}

targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  for bin in "$build"/bin/fuzz_*; do targets+=("${bin##*/fuzz_}"); done
fi

passed=0
failed=0
for name in "${targets[@]}"; do
  bin="$build/bin/fuzz_$name"
  corpus="$cache/corpus/$name"
  crashes="$cache/crashes/$name"
  fresh="$run/new-$name"
  log="$run/$name.log"
  mkdir -p "$corpus" "$crashes" "$fresh"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$crashes/")
  dict="$(dictionary "$name")"
  [ -n "$dict" ] && options+=(-dict="$dict")
  if "$bin" "${options[@]}" "$fresh" "$corpus" "$root/fuzz/corpus/$name" >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
    echo "fuzz_$name: ${runs:-?} executions in ${seconds} s, no crash"
    passed=$((passed + 1))
  else
    input="$(sed -n 's/.*Test unit written to //p' "$log" | tail -1)"
    echo "fuzz_$name: CRASH"
    { grep -E 'ERROR: |runtime error: |check failed: |SUMMARY: ' "$log" || true; } | head -5 | sed 's/^/  /'
    echo "  reproducer: ${input:-none saved, see the log below}"
    echo "  replay:     $bin ${input:-}"
    [ -n "$input" ] || tail -20 "$log" | sed 's/^/  | /'
    failed=$((failed + 1))
  fi
  # Inputs that reach new code join the cache.
  "$bin" -merge=1 "$corpus" "$fresh" >/dev/null 2>&1 || true
done

echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
