#!/usr/bin/env bash
# Builds the benchmarks in Release and runs the round-trip comparison.
# The build folder defaults to build-bench beside the sources (set
# KV_BENCH_BUILD_DIR to use another); further arguments go to the benchmark,
# e.g. --benchmark_repetitions=30.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KV_BENCH_BUILD_DIR:-$root/build-bench}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DKV_BUILD_TESTS=OFF -DKV_BUILD_BENCH=ON -DKV_SANITIZE=OFF >/dev/null
cmake --build "$build" --target roundtrip_bench
exec "$build/bench/roundtrip_bench" "$@"
