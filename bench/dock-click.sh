#!/usr/bin/env bash
# A dock's click on a running helper's tile, to the popup's first painted frame: the dock launches
# the folder's entry again (its Exec, the helper's executable without arguments) and the helper
# opens its popup. Timed from the launch to the popup's first pixels at the X server, next to a
# bare Qt process's start to its first frame in the same run. Needs an X display with a window
# manager and a session bus (run-benchmarks gives them).
# Usage: bench/dock-click.sh <build dir> [openings]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
openings=${2:-15}
. "$(dirname "$0")/bench-home.sh"
export HOME=$home XDG_DATA_HOME=$home/share XDG_CONFIG_HOME=$home/config QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-xcb}
app=$build/Trellin.app/Contents/MacOS/Trellin
bare_exe=${BARE_WIDGETS:-$build/bench/bench-bare-widgets}
click=${DOCK_CLICK:-$build/bench/bench-dock-click}

. "$(dirname "$0")/fleet-home.sh"
write_fleet_home 1

"$build/dock/trellin-dock" > /dev/null 2>&1 &
pids+=($!)
"$app" > /dev/null 2>&1 &
pids+=($!)
helper=
for _ in $(seq 300); do
  helper=$(ls "$XDG_DATA_HOME"/Trellin/Helpers/*.app/Contents/MacOS/Trellin 2>/dev/null || true)
  [ -n "$helper" ] && pgrep -f "^$home/share/Trellin/Helpers/" > /dev/null && break
  sleep 0.1
done
[ -n "$helper" ] || { echo "dock-click: the helper did not start" >&2; exit 1; }
sleep 1
folder=$(grep -o '"id":"[^"]*","name":"Folder 1"' "$XDG_DATA_HOME/Trellin/folders.json" | cut -d'"' -f4)
"$click" dock_click "${WINDOW_CLASS:-trellin-folder-$folder}" "$openings" "$helper"

# A bare process from its start to its first frame: what a click on any application costs.
"$bare_exe" --first-frame-since "$(date +%s%3N)"
