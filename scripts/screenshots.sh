#!/usr/bin/env bash
# Pictures of the connected main window as the operator sees it, for looking
# at the layout: Russian and English, at the minimum size (920 × 590),
# maximised and in the compact view. The client runs under Xvfb against the
# simulated instrument on free loopback ports and leaves its pictures through
# Z5R_SNAPSHOT. Usage: scripts/screenshots.sh [folder] (default
# build/screenshots). Needs a build (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

app="$PWD/build/app"
out="${1:-$PWD/build/screenshots}"
mkdir -p "$out"
out=$(cd "$out" && pwd)

source scripts/simulator.sh
# Ports of our own, so a simulator another run keeps on 8888 is left alone.
base=$((20000 + RANDOM % 20000))
start_simulator screenshots "$base"

# One picture: language, file name, then the Z5R_SNAPSHOT_* settings.
shoot() {
  local lang=$1 name=$2
  shift 2
  # The client's own folders in the work folder, not the user's.
  env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work" \
    Z5R_LANG="$lang" Z5R_INSTRUMENT_PORT="$base" Z5R_SNAPSHOT="$out/$name.png" \
    Z5R_SNAPSHOT_AFTER_MS=4000 "$@" \
    xvfb-run -a -s "-screen 0 1600x1000x24" "$app/Client_Z5R.dat" -a 127.0.0.1
  echo "screenshots: $out/$name.png"
}

for lang in ru en; do
  shoot "$lang" "$lang-minimum"
  shoot "$lang" "$lang-maximized" Z5R_SNAPSHOT_MAXIMIZED=1
  shoot "$lang" "$lang-compact" Z5R_SNAPSHOT_ACTION=CompactViewAction
done
