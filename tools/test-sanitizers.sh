#!/usr/bin/env bash
# The whole test suite built with AddressSanitizer, UndefinedBehaviorSanitizer and
# LeakSanitizer (build-sanitize), then every fuzz target for 60 seconds (tools/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
# libclang-rt-dev: the sanitizer runtimes of Debian's default clang.
bash tools/install-deps.sh clang libclang-rt-dev

build=build-sanitize
# Built with the clang it installs, whose runtime has LeakSanitizer; the
# benchmarks are left out (they measure nothing under the sanitizers).
CC=clang CXX=clang++ cmake -S . -B "$build" -DLUMETO_SANITIZE=ON -DLUMETO_BENCHMARKS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"

# Qt itself is built without frame pointers: full (slow) stack unwinding lets the
# suppressions name the Qt start-up code whose one-off allocations are never freed.
export ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:strict_string_checks=1:detect_stack_use_after_return=1
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$build" && ctest --output-on-failure -j"$(nproc)")

bash tools/fuzz.sh 60
