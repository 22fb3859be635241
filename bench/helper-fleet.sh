#!/usr/bin/env bash
# A login as the user lives it: N folders of four applications each are in the Dock, their
# helper bundles already built, and the main application starts. Prints, as "key value" lines:
# the time from its start to the first and to the last tile published to the Dock, and the
# memory of a helper (mean over all N) next to a bare Qt Widgets process in the same run.
# Needs an X display and a session bus (run-benchmarks gives both).
# Usage: bench/helper-fleet.sh <build dir> <N>
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
count=${2:-1}
. "$(dirname "$0")/bench-home.sh"
export HOME=$home XDG_DATA_HOME=$home/share XDG_CONFIG_HOME=$home/config QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-xcb}
app=$build/Trellin.app/Contents/MacOS/Trellin
# The yardstick; BARE_WIDGETS names another build's when measuring an older one.
bare_exe=${BARE_WIDGETS:-$build/bench/bench-bare-widgets}

. "$(dirname "$0")/fleet-home.sh"
write_fleet_home "$count"

"$build/dock/trellin-dock" > /dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.NameHasOwner \
    app.trellin.Dock 2>/dev/null | grep -q true && break
  sleep 0.05
done

helpers() { pgrep -f "^$home/share/Trellin/Helpers/" || true; }
wait_for_helpers() {
  for _ in $(seq 300); do
    [ "$(helpers | wc -l)" -ge "$count" ] && [ "$(ls "$XDG_DATA_HOME"/Trellin/Helpers/*/Icon$'\r' 2>/dev/null | wc -l)" -ge "$count" ] && return
    sleep 0.1
  done
  echo "helper-fleet: only $(helpers | wc -l) of $count helpers came up" >&2
  exit 1
}

# A first start builds the bundles; it is not the one measured.
"$app" > /dev/null 2>&1 &
main=$!
wait_for_helpers
kill $main; wait $main 2>/dev/null || true
helpers | xargs -r kill; sleep 0.5
# A program just built or copied would count its own code as private dirty memory until the system
# writes it back; an installed one has long been written.
sync
rm -f "$XDG_DATA_HOME"/Trellin/Helpers/*/Icon$'\r'

monitor_log=$home/monitor.log
dbus-monitor --session --profile "type='method_call',interface='app.trellin.Dock',member='SetTileContent'" \
  > "$monitor_log" 2>/dev/null &
pids+=($!)
sleep 0.3
start=$(date +%s.%N)
"$app" > /dev/null 2>&1 &
main=$!
pids+=($main)
wait_for_helpers
sleep 1
# The first tile each helper published, by its connection.
awk -v start="$start" '$1 == "mc" && !seen[$4]++ { t = $2 - start; if (!first || t < first) first = t; if (t > last) last = t }
  END { printf "figure first_tile_ms %.0f\nfigure all_tiles_ms %.0f\n", first * 1000, last * 1000 }' "$monitor_log"

# A bare process from its start to its first frame, for comparison with the start above.
"$bare_exe" --first-frame-since "$(date +%s%3N)"

"$bare_exe" &
bare=$!
pids+=($bare)
sleep 1
# Resident, proportional (shared pages divided among their users), private dirty and private
# (clean and dirty) memory, in kB.
field() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/smaps_rollup"; }
figures() {
  echo "$(field "$1" Rss) $(field "$1" Pss) $(field "$1" Private_Dirty) $(($(field "$1" Private_Clean) + $(field "$1" Private_Dirty)))"
}
read -r rss pss dirty private <<< "$(figures $bare)"
printf 'figure bare_rss_kb %s\nfigure bare_pss_kb %s\nfigure bare_private_dirty_kb %s\nfigure bare_private_kb %s\n' \
  "$rss" "$pss" "$dirty" "$private"
for pid in $(helpers); do figures "$pid"; done | awk -v n="$count" '{ r += $1; p += $2; d += $3; u += $4 }
  END { printf "figure helper_rss_kb %.0f\nfigure helper_pss_kb %.0f\nfigure helper_private_dirty_kb %.0f\nfigure helper_private_kb %.0f\n", r / n, p / n, d / n, u / n }'
echo "figure helper_threads $(awk '/Threads/ { print $2 }' "/proc/$(helpers | head -1)/status")"
