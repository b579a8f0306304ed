#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one: the library's
# (kvvisa/fuzz) and the client's file readers (client/model/fuzz).
#
#   scripts/fuzz.sh [SECONDS]     SECONDS per target, default 30
#
# Build folder: $FUZZ_BUILD_DIR, default build-fuzz/ under the repository
# root (the client's targets in its client-model/ folder). The seed corpus in
# the source tree is only read; what the fuzzer learns goes into
# <build>/corpus/<target>, crash inputs into <build>/artifacts/<target>/.
# Exits non-zero when any target finds a crash.
set -euo pipefail

seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "usage: $0 [SECONDS]" >&2
  exit 2
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_root="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
# Each project: its source folder and its build folder.
projects=(
  "$root/kvvisa/fuzz:$build_root"
  "$root/client/model/fuzz:$build_root/client-model"
)

generator=()
if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi

status=0
for project in "${projects[@]}"; do
  source_dir="${project%%:*}"
  build_dir="${project#*:}"
  CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build_dir" "${generator[@]}" >/dev/null
  cmake --build "$build_dir"

  while IFS= read -r target; do
    [ -n "$target" ] || continue
    seeds="$source_dir/corpus/${target%_fuzz}"
    corpus="$build_dir/corpus/$target"
    artifacts="$build_dir/artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    echo "fuzz: $target for ${seconds}s"
    inputs=("$corpus")
    if [ -d "$seeds" ]; then inputs+=("$seeds"); fi
    if ! "$build_dir/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "${inputs[@]}"; then
      echo "fuzz: $target FAILED; crash inputs are in $artifacts" >&2
      status=1
    fi
  done < "$build_dir/fuzz_targets.txt"
done

exit "$status"
