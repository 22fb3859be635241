#!/usr/bin/env bash
# Resident memory of a helper process once its tile is shown, again with its popup of 24
# applications open, and once it is closed, next to a bare Qt Widgets process in the same run.
# Usage: bench/helper-memory.sh [build dir]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
home=$(mktemp -d)
trap 'kill $helper $bare $bare_text 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/share QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
id=6F1C2B3A-0D4E-4F5A-8B6C-7D8E9F0A1B2C

mkdir -p "$XDG_DATA_HOME/Trellin/Helpers"
apps=$(for i in $(seq 24); do
  printf '{"id":"%s","name":"Trellin %d","bundleID":"app.trellin.Trellin","appURL":"file://%s/"}' \
    "$(tr a-z A-Z < /proc/sys/kernel/random/uuid)" "$i" "$build/Trellin.app"; echo
done | paste -sd, -)
printf '[{"id":"%s","name":"Work","isInDock":true,"apps":[%s]}]' "$id" "$apps" > "$XDG_DATA_HOME/Trellin/folders.json"
helper_bundle=$XDG_DATA_HOME/Trellin/Helpers/Work.app
cp -a "$build/Trellin.app" "$helper_bundle"
plistutil -i "$helper_bundle/Contents/Info.plist" -f xml -o - |
  sed "s|<key>CFBundleName</key>|<key>TRGroupUUID</key><string>$id</string><key>CFBundleName</key>|" > "$home/Info.plist"
mv "$home/Info.plist" "$helper_bundle/Contents/Info.plist"
# A program just written would count its own code as private dirty memory until the system writes
# it back; an installed one has long been written.
sync

"$helper_bundle/Contents/MacOS/Trellin" -group "$id" &
helper=$!
"$build/bench/bench-bare-widgets" &
bare=$!
# The same, drawing a line of text: the fonts any text needs, which the popup loads.
"$build/bench/bench-bare-widgets" --text &
bare_text=$!
# The tile is drawn at launch and written as the bundle icon half a second later.
for _ in $(seq 50); do [ -f "$helper_bundle/Icon"$'\r' ] && break; sleep 0.1; done
sleep 1
rss() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }
# Proportional set (shared pages divided among their users) and private dirty pages, in kB.
pss() { awk '/^Pss:/ {print $2}' "/proc/$1/smaps_rollup"; }
dirty() { awk '/^Private_Dirty:/ {print $2}' "/proc/$1/smaps_rollup"; }
figures() { echo "RSS $(rss "$1") kB, PSS $(pss "$1") kB, private dirty $(dirty "$1") kB"; }
h=$(rss $helper); b=$(rss $bare); tile_dirty=$(dirty $helper)
[ -n "${KEEP_ICON:-}" ] && cp "$helper_bundle/Icon"$'\r' "$KEEP_ICON"
ratio() { awk -v h="$1" -v b="$2" 'BEGIN { printf "%.2f", h / b }'; }
echo "bare Qt Widgets: $(figures $bare)"
echo "bare Qt Widgets showing text: $(figures $bare_text)"
echo "helper, tile shown: $(figures $helper); RSS ratio $(ratio "$h" "$b")"

# A click on the tile: the Dock's reopen.
service=app.trellin.Trellin.Helper.G$(echo "$id" | tr -d -)
dbus-send --session --print-reply --dest="$service" /app/trellin/Application app.trellin.Application.Reopen >/dev/null
sleep 1
p=$(rss $helper); b=$(rss $bare)
echo "helper, popup shown: $(figures $helper); RSS ratio $(ratio "$p" "$b")"

# A second click closes it again.
dbus-send --session --print-reply --dest="$service" /app/trellin/Application app.trellin.Application.Reopen >/dev/null
sleep 1
c=$(rss $helper); b=$(rss $bare)
echo "helper, popup closed: $(figures $helper); RSS ratio $(ratio "$c" "$b")"
# For the table of scripts/run-benchmarks: the helper as it waits between clicks.
printf 'figure closed_rss_kb %s\nfigure closed_private_dirty_kb %s\nfigure bare_rss_kb %s\nfigure bare_private_dirty_kb %s\n' \
  "$c" "$(dirty $helper)" "$b" "$(dirty $bare)"
printf 'figure tile_rss_kb %s\nfigure tile_private_dirty_kb %s\nfigure bare_text_rss_kb %s\nfigure bare_text_private_dirty_kb %s\n' \
  "$h" "$tile_dirty" "$(rss $bare_text)" "$(dirty $bare_text)"
