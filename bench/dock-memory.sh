#!/usr/bin/env bash
# Resident memory of trellin-dock showing kept and running tiles, next to a bare Qt Widgets
# process in the same run. Needs an X display and a session bus (run-benchmarks gives both).
# Usage: bench/dock-memory.sh [build dir]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
home=$(mktemp -d)
trap 'kill $dock $bare 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-xcb}

# Ten kept applications (copies of the built bundle's Info.plist, so each has a label and icon).
mkdir -p "$home/Library/Preferences" "$home/Apps"
tiles=
for i in $(seq 10); do
  mkdir -p "$home/Apps/App $i.app/Contents"
  cp "$build/Trellin.app/Contents/Info.plist" "$home/Apps/App $i.app/Contents/"
  tiles+="<dict><key>tile-data</key><dict><key>file-data</key><dict><key>_CFURLString</key>"
  tiles+="<string>file://$home/Apps/App%20$i.app/</string><key>_CFURLStringType</key><integer>15</integer>"
  tiles+="</dict></dict></dict>"
done
cat > "$home/Library/Preferences/com.apple.dock.plist" <<PLIST
<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>persistent-apps</key><array>$tiles</array>
<key>tilesize</key><integer>48</integer><key>magnification</key><true/></dict></plist>
PLIST

"$build/dock/trellin-dock" &
dock=$!
"$build/bench/bench-bare-widgets" &
bare=$!
sleep 2
rss() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }
pss() { awk '/^Pss:/ {print $2}' "/proc/$1/smaps_rollup"; }
dirty() { awk '/^Private_Dirty:/ {print $2}' "/proc/$1/smaps_rollup"; }
figures() { echo "RSS $(rss "$1") kB, PSS $(pss "$1") kB, private dirty $(dirty "$1") kB"; }
ratio() { awk -v h="$1" -v b="$2" 'BEGIN { printf "%.2f", h / b }'; }
echo "bare Qt Widgets: $(figures $bare)"
echo "trellin-dock, 10 tiles: $(figures $dock); RSS ratio $(ratio "$(rss $dock)" "$(rss $bare)")"
# For the table of scripts/run-benchmarks.
echo "figure dock_rss_kb $(rss $dock)"
echo "figure dock_private_dirty_kb $(dirty $dock)"
echo "figure bare_rss_kb $(rss $bare)"
echo "figure bare_private_dirty_kb $(dirty $bare)"
