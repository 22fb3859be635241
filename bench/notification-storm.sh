#!/usr/bin/env bash
# Bursts of settings changes and of notifications against a fleet of real processes: N folders in
# the Dock (so N helpers), the main application with its window open, trellin-dock, and a bare Qt
# listener as the yardstick (bench-notification-storm listen). Prints, as "figure key value" lines:
#  - two drags with xdotool, each to and fro for 2.4 s at 60 steps a second: the tile-opacity
#    slider of the tile settings page (the first folder's tile style, kept in the folders file),
#    then the opacity slider of the popup page (a setting, kept in the preferences file); for each,
#    the replacements of the preferences file and of the folders file by every process;
#  - a storm: 50,000 "TRTileAppearanceChanged" over 5 s from a separate bus client; once the bus has
#    routed them all, how long each process takes to answer an introspection of its application
#    object (answered on its main thread), asked from a fresh connection; and each process's
#    resident memory before and after, settled. The bus routes that name to Trellin's processes
#    only from the main application, so the same is measured again (figures "open_...") with
#    "TRCloseNonPinnedPopups", which any helper may post and the bus routes from anyone;
#  - a second storm, with SIGTERM sent to every process 2.5 s into it: how long each takes to end.
# Needs an X display with a window manager and a session bus (run-benchmarks gives them).
# TRELLIN_APP names another build's Trellin.app to measure that one.
# Usage: bench/notification-storm.sh <build dir> [N, default 20]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
count=${2:-20}
storm_count=${STORM_COUNT:-50000}
home=$(mktemp -d)
tool=$build/bench/bench-notification-storm
app=${TRELLIN_APP:-$build/Trellin.app}/Contents/MacOS/Trellin
pids=()
helpers() { pgrep -f "^$home/share/Trellin/Helpers/" || true; }
cleanup() {
  kill "${pids[@]}" $(helpers) 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT
export HOME=$home XDG_DATA_HOME=$home/share XDG_CONFIG_HOME=$home/config QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-xcb}
uuid() { tr a-z A-Z < /proc/sys/kernel/random/uuid; }
now_ms() { date +%s%3N; }
rss_kb() { awk '$1 == "Rss:" { print $2 }' "/proc/$1/smaps_rollup" 2>/dev/null || echo 0; }

. "$(dirname "$0")/fleet-home.sh"
write_fleet_home "$count"

"$build/dock/trellin-dock" > /dev/null 2>&1 &
pids+=($!)
"$tool" listen app.trellin.Bench.Bare &
bare=$!
pids+=($bare)
"$app" > /dev/null 2>&1 &
main=$!
pids+=($main)
for _ in $(seq 600); do
  [ "$(helpers | wc -l)" -ge "$count" ] && [ "$(ls "$XDG_DATA_HOME"/Trellin/Helpers/*/Icon$'\r' 2>/dev/null | wc -l)" -ge "$count" ] && break
  sleep 0.1
done
[ "$(helpers | wc -l)" -ge "$count" ] || { echo "notification-storm: only $(helpers | wc -l) of $count helpers came up" >&2; exit 1; }
sleep 3

# Drags a slider of the settings window whose track runs from x 276 to 464 at height <y> of the
# window, from its thumb at <x>, to and fro for 2.4 s at 60 steps a second; counts the writes of
# the preferences file and of the folders file by every process from its start to a second after.
drag() { # <figure prefix> <x> <y>
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local steps=() start
  for i in $(seq 144); do
    steps+=(mousemove $((X + 290 + (i * 37) % 170)) $((Y + $3)) sleep 0.0167)
  done
  "$tool" writes "$home/Library/Preferences" app.trellin.Trellin.plist > "$home/prefs-writes" &
  local prefs_counter=$!
  "$tool" writes "$XDG_DATA_HOME/Trellin" folders.json > "$home/folders-writes" &
  local folders_counter=$!
  pids+=($prefs_counter $folders_counter)
  sleep 0.3
  start=$(now_ms)
  xdotool mousemove $((X + $2)) $((Y + $3)) mousedown 1 "${steps[@]}" mouseup 1
  echo "figure $1_ms $(($(now_ms) - start))"
  sleep 1
  kill $prefs_counter $folders_counter
  echo "figure $1_prefs_writes $(awk -v s="$start" '$1 >= s' "$home/prefs-writes" | wc -l)"
  echo "figure $1_folders_writes $(awk -v s="$start" '$1 >= s' "$home/folders-writes" | wc -l)"
}
# The settings button, then the tile page (the second tab): its tile-opacity slider, the first
# folder's, with the thumb at 64 %. Then the popup page (the third tab): its opacity slider, a
# global setting, at 95 %.
window=$(xdotool search --onlyvisible --name '^Trellin$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + WIDTH - 26)) $((Y + 22)) sleep 0.3 click 1 sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 248)) $((Y + 66)) sleep 0.3 click 1 sleep 1.5
drag tile_drag 367 383
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 345)) $((Y + 66)) sleep 0.3 click 1 sleep 1.5
drag popup_drag 443 363
sleep 2

# Who answers: the main application by its bundle identifier, helpers by theirs with the folder.
names=$(gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.ListNames |
  grep -o "'app\.trellin\.Trellin[^']*'" | tr -d "'")
processes="$main $bare $(helpers)"
declare -A before
for pid in $processes; do before[$pid]=$(rss_kb "$pid"); done
"$tool" post TRTileAppearanceChanged "$storm_count" 5 > "$home/answers"
# Asked from a connection of its own, opened once the bus has routed the storm.
"$tool" probe app.trellin.Bench.Bare $names >> "$home/answers"
grep figure "$home/answers"
awk '$1 == "answer" && $2 == "app.trellin.Trellin" { print "figure main_answer_ms", $3 }
  $1 == "answer" && $2 == "app.trellin.Bench.Bare" { print "figure bare_answer_ms", $3 }
  $1 == "answer" && $2 ~ /Helper/ { n++; if ($3 < 0) late++; else { s += $3; if ($3 > m) m = $3 } }
  END { printf "figure helpers_answered %d\nfigure helpers_unanswered %d\nfigure helper_answer_ms_mean %.0f\nfigure helper_answer_ms_max %d\n", n - late, late, (n > late ? s / (n - late) : -1), m }' \
  "$home/answers"
sleep 3
echo "figure main_rss_before_kb ${before[$main]}"
echo "figure main_rss_after_kb $(rss_kb "$main")"
echo "figure bare_rss_before_kb ${before[$bare]}"
echo "figure bare_rss_after_kb $(rss_kb "$bare")"
for pid in $(helpers); do echo "${before[$pid]:-0} $(rss_kb "$pid")"; done | awk '$1 > 0 {
    n++; b += $1; a += $2; g = ($2 - $1) * 100 / $1; if (g > m) m = g }
  END { printf "figure helper_rss_before_kb %.0f\nfigure helper_rss_after_kb %.0f\nfigure helper_rss_growth_max_pct %.1f\n", b / n, a / n, m }'

# The same with a name every helper takes from anyone.
for pid in $processes; do before[$pid]=$(rss_kb "$pid"); done
"$tool" post TRCloseNonPinnedPopups "$storm_count" 5 > "$home/open-answers"
"$tool" probe app.trellin.Bench.Bare $names >> "$home/open-answers"
sed -n 's/^figure /figure open_/p' "$home/open-answers"
awk '$1 == "answer" && $2 == "app.trellin.Trellin" { print "figure open_main_answer_ms", $3 }
  $1 == "answer" && $2 == "app.trellin.Bench.Bare" { print "figure open_bare_answer_ms", $3 }
  $1 == "answer" && $2 ~ /Helper/ { if ($3 > m || $3 < 0) m = ($3 < 0 ? 999999 : $3) }
  END { printf "figure open_helper_answer_ms_max %d\n", m }' "$home/open-answers"
sleep 3
for pid in $(helpers); do echo "${before[$pid]:-0} $(rss_kb "$pid")"; done | awk '$1 > 0 {
    g = ($2 - $1) * 100 / $1; if (g > m) m = g }
  END { printf "figure open_helper_rss_growth_max_pct %.1f\n", m }'

# A quit request in the middle of a storm.
"$tool" post TRTileAppearanceChanged "$storm_count" 5 > /dev/null &
poster=$!
pids+=($poster)
sleep 2.5
"$tool" quit "$main" "$bare" $(helpers) > "$home/quits"
awk -v main="$main" -v bare="$bare" '$1 != "quit" { next }
  $2 == main { print "figure main_quit_ms", $3; next }
  $2 == bare { print "figure bare_quit_ms", $3; next }
  { v = $3 < 0 ? 10000 : $3; if (v > 1000) slow++; if (v > m) m = v }
  END { printf "figure helper_quit_ms_max %d\nfigure helpers_quit_over_1s %d\n", m, slow }' "$home/quits"
kill $poster 2>/dev/null || true
