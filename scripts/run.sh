#!/usr/bin/env bash
# Builds the product and runs it: the simulated Z5R instrument on 127.0.0.1 in
# the background, and the launcher, which shows its splash window and starts
# the client connected to it. Closing the client stops the simulator. Without
# a display the product runs under Xvfb for a few seconds and the client
# leaves a picture of its connected main window (Z5R_SNAPSHOT, default
# build/z5r-client.png). Arguments are passed on to the client.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh
app="$PWD/build/app"

source scripts/simulator.sh
# The instrument listens on loopback only: port 8888 as a real Z5R, discovery
# on 8889, its control channel on 8890.
start_simulator run 8888
echo "run: simulated Z5R on 127.0.0.1:8888 (control channel 127.0.0.1:8890)"

# The launcher ends once it has started the client; the script stays until
# the client ends, which it sees by the client's lock file coming free.
run_product() {
  "$app/Launcher" -a 127.0.0.1 "$@"
  local lock="${XDG_RUNTIME_DIR:-/tmp}/KorvelZ5RClient.lock"
  case "${XDG_RUNTIME_DIR:-}" in /*) ;; *) lock="/tmp/KorvelZ5RClient.lock" ;; esac
  for _ in $(seq 1 50); do
    [ -e "$lock" ] && ! flock -n "$lock" true 2>/dev/null && break
    sleep 0.1
  done
  [ -e "$lock" ] && flock "$lock" true
}
export app

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  run_product "$@"
else
  shot="${Z5R_SNAPSHOT:-$PWD/build/z5r-client.png}"
  echo "run: no display; the product runs under Xvfb for a few seconds"
  Z5R_SNAPSHOT="$shot" Z5R_SNAPSHOT_AFTER_MS="${Z5R_SNAPSHOT_AFTER_MS:-5000}" \
    xvfb-run -a bash -c "$(declare -f run_product); run_product \"\$@\"" run_product "$@"
  echo "run: picture of the main window: $shot"
fi
