#!/usr/bin/env bash
# Builds the benchmarks in Release and runs every one of them: the library's
# round trip against a plain socket, the text layer's translation, the
# driver's set-and-read-back against plain round trips to the simulator, the
# traffic monitor's cost (when it is built), list files against strtod and
# snprintf, a round trip over a pseudo-terminal against plain read/write, the
# measurement layer's runs and transforms (against FFTW called directly),
# connecting the client (when the client is built), and PyVISA queries through
# the library's backend against pyvisa-py. The build folder defaults
# to build-bench beside the sources (set KV_BENCH_BUILD_DIR to use another);
# further arguments go to every compiled benchmark, e.g. --benchmark_repetitions=30.
# BENCH=name runs only that one. Only the benchmarks are built (some use the
# tests' simulator support).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KV_BENCH_BUILD_DIR:-$root/build-bench}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DKV_BUILD_TESTS=ON -DKV_BUILD_BENCH=ON -DKV_SANITIZE=OFF >/dev/null
benches=(roundtrip_bench tcs_translate_bench driver_bench list_file_bench serial_roundtrip_bench sa_bench)
for optional in monitor_bench client_connect_bench; do
  if [ -f "$root/bench/$optional.cpp" ]; then benches+=("$optional"); fi
done
# Benchmarks in Python, run with the system's Python over the built library.
python_benches=(pyvisa_query_bench)
python="${KV_PYTHON:-/usr/bin/python3}"
if [ -n "${BENCH:-}" ]; then
  if [ -f "$root/bench/$BENCH.py" ]; then
    benches=()
    python_benches=("$BENCH")
  else
    benches=("$BENCH")
    python_benches=()
  fi
fi
targets=("${benches[@]}")
if [ ${#python_benches[@]} -gt 0 ]; then targets+=(KvVISA); fi
cmake --build "$build" --target "${targets[@]}"
status=0
for b in "${benches[@]}"; do
  echo "== $b"
  if ! "$build/bench/$b" "$@"; then
    echo "bench: $b FAILED" >&2
    status=1
  fi
done
for b in "${python_benches[@]}"; do
  echo "== $b"
  if ! KVVISA_LIBRARY="$build/app/libKvVISA.so" PYTHONPATH="$root/python" "$python" "$root/bench/$b.py"; then
    echo "bench: $b FAILED" >&2
    status=1
  fi
done
exit "$status"
