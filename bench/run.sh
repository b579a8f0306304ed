#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them: the library's round trip
# against a plain socket, the driver's set-and-read-back against plain round
# trips to the simulator, list files against strtod and snprintf, and (when
# the client is built) connecting the client.
# The build folder defaults to build-bench beside the sources (set
# KV_BENCH_BUILD_DIR to use another); further arguments go to every benchmark,
# e.g. --benchmark_repetitions=30. BENCH=name runs only that one. Only the
# benchmarks are built (the client bench uses the tests' simulator support).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KV_BENCH_BUILD_DIR:-$root/build-bench}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DKV_BUILD_TESTS=ON -DKV_BUILD_BENCH=ON -DKV_SANITIZE=OFF >/dev/null
benches=(roundtrip_bench driver_bench list_file_bench)
if [ -f "$root/bench/client_connect_bench.cpp" ]; then benches+=(client_connect_bench); fi
if [ -n "${BENCH:-}" ]; then benches=("$BENCH"); fi
cmake --build "$build" --target "${benches[@]}"
for b in "${benches[@]}"; do
  echo "== $b"
  "$build/bench/$b" "$@"
done
