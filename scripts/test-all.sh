#!/usr/bin/env bash
# Sets the machine up, builds everything and runs every test: the normal
# build (warnings are errors), the address/undefined sanitizer build, the
# library's threaded tests under the thread sanitizer, then a short fuzzing run.
# The tests come first, so a failing one is reported without waiting for the
# fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

echo "== build and test"
cmake -S . -B build -G Ninja -DKV_WERROR=ON
cmake --build build
ctest --test-dir build --output-on-failure -j 2

echo "== sanitizer build and test (everything without windows)"
cmake -S . -B build-asan -G Ninja -DKV_WERROR=ON -DKV_SANITIZE=ON -DKV_BUILD_BENCH=OFF -DKV_BUILD_GUI=OFF
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j 2

echo "== thread sanitizer build and test (the library's threaded and cross-process tests)"
cmake -S . -B build-tsan -G Ninja -DKV_WERROR=ON -DKV_TSAN=ON -DKV_BUILD_BENCH=OFF -DKV_BUILD_GUI=OFF
cmake --build build-tsan --target kvvisa_thread_tests kvvisa_hook_tests kvvisa_tcs_session_tests
ctest --test-dir build-tsan --output-on-failure -j 2 -R 'Threads|Traffic|TcsMonitor'

fuzz_seconds=${FUZZ_SECONDS:-20}
echo "== fuzzing (${fuzz_seconds} s per target)"
bash scripts/fuzz.sh "$fuzz_seconds"
