#!/usr/bin/env bash
# Builds the fuzz target with clang (libFuzzer, ASan, UBSan) and runs it for a bounded time.
#   fuzz/run.sh [SECONDS] [JOBS]      default 60 seconds, one job
# Build folder build-fuzz/ (override with CORVANE_FUZZ_BUILD). The corpus grows in
# build-fuzz/corpus/ from the seeds that fuzz-seeds writes; findings land in
# build-fuzz/findings/ and make the script fail. Scratch files go to /dev/shm when it exists.
# Warnings do not stop this build: clang warns about things GCC does not, and the GCC builds of
# scripts/check hold the warning line.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
jobs=${2:-1}
build=${CORVANE_FUZZ_BUILD:-build-fuzz}

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCORVANE_FUZZ=ON -DCORVANE_TESTS=OFF -DCORVANE_WERROR=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target fuzz_database fuzz-seeds

seeds="$build/seeds"
corpus="$build/corpus"
findings="$build/findings"
mkdir -p "$seeds" "$corpus" "$findings"
"$build/fuzz/fuzz-seeds" "$seeds"

if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

args=(-max_total_time="$seconds" -max_len=163840 -timeout=10 -rss_limit_mb=2048
      -artifact_prefix="$findings/" -print_final_stats=1)
if [ "$jobs" -gt 1 ]; then
  args+=(-jobs="$jobs" -workers="$jobs")
fi
# New inputs go to the corpus; the seeds are read but never changed.
"$build/fuzz/fuzz_database" "${args[@]}" "$corpus" "$seeds"
