# Sourced by the process benchmarks: a throw-away home whose processes (the ones the script adds to
# `pids`, and every helper started from the home) end, and which goes, when the script exits; and
# uuid(), a new id in the form Trellin writes.
home=$(mktemp -d)
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  pkill -f "$home/share/Trellin/Helpers/" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT
uuid() { tr a-z A-Z < /proc/sys/kernel/random/uuid; }
