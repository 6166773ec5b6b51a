#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) in build-fuzz and runs each
# for a bounded time: tools/fuzz.sh [seconds per target, default 60].
# Inputs found to be new are kept in build-fuzz/corpus; a crashing input is written to
# build-fuzz/findings and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
# libclang-rt-dev: the sanitizer and libFuzzer runtimes of Debian's default clang.
bash tools/install-deps.sh clang libclang-rt-dev
seconds="${1:-60}"
build=build-fuzz
targets=(configuration datafile analysis faultanalysis recording standardconfiguration standarddata combinedfile)
# Inputs up to 8 KB, except for whole recordings: lines of 255 channels and a
# few thousand samples need room, in two files or in one .cff.
declare -A max_len=([recording]=131072 [combinedfile]=65536 [standarddata]=32768)

CC=clang CXX=clang++ cmake -S . -B "$build" -DLUMETO_FUZZ=ON -DBUILD_TESTING=OFF -DLUMETO_BENCHMARKS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p "$build/findings"
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target"
  echo "fuzz_$target: ${seconds} s"
  log="$build/findings/$target.log"
  status=0
  "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    -max_len="${max_len[$target]:-8192}" -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
    "$build/corpus/$target" "tests/fuzz/corpus/$target" > "$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    echo "fuzz_$target found a fault; the input is in $build/findings"
    exit "$status"
  fi
  grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)' "$log"
done
