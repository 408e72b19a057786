#!/usr/bin/env bash
# Builds the fuzz targets with clang, ASan and UBSan into build-fuzz/ and runs
# each for a bounded time, starting from its seed corpus in fuzz/corpus/.
#
#   tools/fuzz.sh [seconds] [target...]   seconds per target (default 30);
#                                         all targets unless some are named
#
# New inputs go to build-fuzz/corpus/<target>/, never into the sources. A
# crash leaves its input in build-fuzz/artifacts/<target>/; fix the reader and
# copy the input to fuzz/regressions/<target>/, where ctest replays it.
# Prints executions per second and total executions per target; the exit
# status is non-zero if any target failed.
set -uo pipefail

seconds=${1:-30}
shift || true
case "$seconds" in '' | *[!0-9]*) echo "fuzz.sh: seconds must be a number" >&2; exit 2 ;; esac
repo=$(cd "$(dirname "$(readlink -f "$0")")/.." && pwd)
build=$repo/build-fuzz
cd "$repo" || exit

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DRAVELL_FUZZ=ON -DRAVELL_TESTS=OFF -DRAVELL_BENCH=OFF >/dev/null || exit
cmake --build "$build" --target fuzzers -j "$(nproc)" || exit

targets=("$@")
if ((${#targets[@]} == 0)); then
  for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

# Leaks count as failures; only system libraries below Qt are excused.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$repo/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TZ=UTC

failed=()
report=()
for name in "${targets[@]}"; do
  binary=$build/fuzz/fuzz_$name
  if [[ ! -x $binary ]]; then
    echo "fuzz.sh: no target $name" >&2
    failed+=("$name")
    continue
  fi
  mkdir -p "$build/corpus/$name" "$build/artifacts/$name"
  log=$build/artifacts/$name.log
  echo "=== fuzz $name for $seconds s"
  "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$name/" "$build/corpus/$name" "fuzz/corpus/$name" \
    >"$log" 2>&1
  status=$?
  # A crash prints the figures once more; the last ones count.
  execs=$(awk '/stat::number_of_executed_units/ { v = $2 } END { print v }' "$log")
  rate=$(awk '/stat::average_exec_per_sec/ { v = $2 } END { print v }' "$log")
  if ((status != 0)); then
    failed+=("$name")
    tail -n 40 "$log"
  fi
  report+=("$(printf '%-14s %10s exec/s %12s execs  %s' "$name" "${rate:-?}" "${execs:-?}" \
    "$( ((status == 0)) && echo ok || echo "FAILED (exit $status, see $log)")")")
done

echo "=== fuzz results ($seconds s per target)"
printf '%s\n' "${report[@]}"
if ((${#failed[@]})); then
  echo "=== fuzz failed: ${failed[*]}"
  exit 1
fi
