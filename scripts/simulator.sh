# Sourced by the scripts that run the client against the simulated instrument:
# a work folder, z5r-sim on loopback, and both removed when the script exits.
# Needs $app (the application folder). Sets $work and $sim_pid.

work=$(mktemp -d)
sim_pid=""
cleanup() {
  if [ -n "$sim_pid" ] && kill -0 "$sim_pid" 2>/dev/null; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# start_simulator WHO PORT: the instrument on PORT, discovery on PORT+1 and
# its control channel on PORT+2, waited for until it says it is ready; WHO
# names the script in its messages.
start_simulator() {
  local who=$1 port=$2
  "$app/z5r-sim" --address 127.0.0.1 --port "$port" --discovery-port $((port + 1)) \
    --control-port $((port + 2)) >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  for _ in $(seq 1 100); do
    grep -q '^z5r-sim ready' "$work/sim.out" 2>/dev/null && return 0
    if ! kill -0 "$sim_pid" 2>/dev/null; then
      echo "$who: the simulated instrument did not start:" >&2
      cat "$work/sim.err" >&2
      exit 1
    fi
    sleep 0.1
  done
  grep -q '^z5r-sim ready' "$work/sim.out" || { echo "$who: the simulated instrument did not get ready" >&2; exit 1; }
}
