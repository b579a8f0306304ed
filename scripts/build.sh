#!/usr/bin/env bash
# Sets the machine up and builds the product into build/ (runnable files in
# build/app/), without running tests.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DKV_WERROR=ON
cmake --build build
