#!/usr/bin/env bash
# Builds the libFuzzer targets (the library's, the version block reader's and
# the launcher's configuration reader's) with clang and runs each one.
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
build_dir="${FUZZ_BUILD_DIR:-$root/build-fuzz}"

generator=()
if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi

# Each fuzz project beside its module, each in a build folder of its own: the
# library's in the build folder itself, the others below it.
projects=("kvvisa/fuzz:$build_dir" "product/fuzz:$build_dir/modules/product"
          "launcher/fuzz:$build_dir/modules/launcher")

status=0
for project in "${projects[@]}"; do
  source_dir="$root/${project%%:*}"
  project_build="${project#*:}"
  CC=clang CXX=clang++ cmake -S "$source_dir" -B "$project_build" "${generator[@]}" >/dev/null
  cmake --build "$project_build"

  while IFS= read -r target; do
    [ -n "$target" ] || continue
    seeds="$source_dir/corpus/${target%_fuzz}"
    corpus="$build_dir/corpus/$target"
    artifacts="$build_dir/artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    echo "fuzz: $target for ${seconds}s"
    inputs=("$corpus")
    if [ -d "$seeds" ]; then inputs+=("$seeds"); fi
    if ! "$project_build/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "${inputs[@]}"; then
      echo "fuzz: $target FAILED; crash inputs are in $artifacts" >&2
      status=1
    fi
  done < "$project_build/fuzz_targets.txt"
done

exit "$status"
