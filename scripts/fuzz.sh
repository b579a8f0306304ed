#!/usr/bin/env bash
# Builds the library's libFuzzer targets with clang and runs each one.
#
#   scripts/fuzz.sh [SECONDS]     SECONDS per target, default 30
#
# Build folder: $FUZZ_BUILD_DIR, default build-fuzz/ under the repository
# root. The seed corpus in the source tree is only read; what the fuzzer
# learns goes into <build>/corpus/<target>, crash inputs into
# <build>/artifacts/<target>/. Exits non-zero when any target finds a crash.
set -euo pipefail

seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "usage: $0 [SECONDS]" >&2
  exit 2
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source_dir="$root/kvvisa/fuzz"
build_dir="${FUZZ_BUILD_DIR:-$root/build-fuzz}"

generator=()
if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build_dir" "${generator[@]}" >/dev/null
cmake --build "$build_dir"

# Seed corpora: the library's, and those kept beside other modules' targets.
seed_roots=("$source_dir/corpus" "$root/client/model/fuzz/corpus")

status=0
while IFS= read -r target; do
  [ -n "$target" ] || continue
  corpus="$build_dir/corpus/$target"
  artifacts="$build_dir/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  echo "fuzz: $target for ${seconds}s"
  inputs=("$corpus")
  for seed_root in "${seed_roots[@]}"; do
    seeds="$seed_root/${target%_fuzz}"
    if [ -d "$seeds" ]; then inputs+=("$seeds"); fi
  done
  if ! "$build_dir/$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$artifacts/" "${inputs[@]}"; then
    echo "fuzz: $target FAILED; crash inputs are in $artifacts" >&2
    status=1
  fi
done < "$build_dir/fuzz_targets.txt"

exit "$status"
