#!/usr/bin/env bash
# Runs every libFuzzer target for MINUTES minutes each (default 10), two at a
# time, with ASan and UBSan, into build-fuzz/. Each target starts from its
# seeds (fuzz/seeds/<target>/) and kept findings (tests/data/<target>-fuzz/);
# its working corpus and any crash input go to build-fuzz/corpus/<target>/ and
# build-fuzz/findings/<target>/. Prints runs and corpus size per target and
# exits 1 when any target found something.
#   bash scripts/fuzz.sh [MINUTES] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-10}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(thumbnail jpeg_header exif settings comments album_page site_page cp932 bmp location hand_over)

PICTAVO_FUZZ=1 bash scripts/setup-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPICTAVO_FUZZ=ON -DPICTAVO_SANITIZE=ON -DPICTAVO_TESTS=OFF >/dev/null
cmake --build build-fuzz -j2

max_len() {
  case "$1" in
    thumbnail|jpeg_header) echo 8192 ;;
    bmp) echo 4096 ;;
    *) echo 4096 ;;
  esac
}

run_one() {
  local t=$1
  local corpus=build-fuzz/corpus/$t findings=build-fuzz/findings/$t log=build-fuzz/fuzz-$t.log
  mkdir -p "$corpus" "$findings"
  local seeds=()
  [ -d "fuzz/seeds/$t" ] && seeds+=("fuzz/seeds/$t")
  [ -d "tests/data/$t-fuzz" ] && seeds+=("tests/data/$t-fuzz")
  [ "$t" = bmp ] && seeds+=(tests/data/bmpsuite)
  # Huge allocations are the decoders' business (they refuse them); above
  # this the fuzzer reports a finding.
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "build-fuzz/fuzz/${t}_fuzzer" -max_total_time=$((minutes * 60)) -max_len="$(max_len "$t")" \
    -rss_limit_mb=2048 -timeout=30 -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" "${seeds[@]}" >"$log" 2>&1
}

status=0
i=0
while [ $i -lt ${#targets[@]} ]; do
  pids=()
  for t in "${targets[@]:$i:2}"; do
    run_one "$t" &
    pids+=($!)
  done
  for p in "${pids[@]}"; do wait "$p" || status=1; done
  i=$((i + 2))
done

for t in "${targets[@]}"; do
  log=build-fuzz/fuzz-$t.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  found=$(ls build-fuzz/findings/$t | wc -l)
  printf '%-12s %s runs, corpus %s files, %s findings\n' "$t" "${runs:-?}" "$(ls build-fuzz/corpus/$t | wc -l)" "$found"
done
exit $status
