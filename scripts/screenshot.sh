#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds, opens the built Cuebolt.prefPane in the pane host on a private Xvfb (with a private
# session bus and a scratch settings folder), saves a PNG of the host's window, stops everything
# and prints the PNG's path.
#   scripts/screenshot.sh [output.png]     default: build/screenshots/cuebolt-pane.png
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-build/screenshots/cuebolt-pane.png}"

bash scripts/build.sh dev --target SystemPreferences Cuebolt CueboltListener window_grab >/dev/null
bundles=build/dev/bundles
grab=build/dev/tests/integration/host/window_grab

scratch="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

# Polls a condition for at most five seconds.
wait_for() {
  for _ in $(seq 100); do
    if eval "$1"; then return 0; fi
    sleep 0.05
  done
  echo "screenshot: gave up waiting for: $1" >&2
  return 1
}

for n in $(seq 90 199); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
wait_for "[ -S /tmp/.X11-unix/X${display#:} ]"

dbus-daemon --session --nofork --print-address=3 3>"$scratch/bus" >/dev/null 2>&1 &
pids+=($!)
wait_for "[ -s '$scratch/bus' ]"

mkdir -m 700 "$scratch/runtime"
export DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime"
export DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$scratch/bus")"
"$bundles/System Preferences.app/Contents/MacOS/System Preferences" "$bundles/Cuebolt.prefPane" \
  >"$scratch/host.log" 2>&1 &
pids+=($!)

window=""
wait_for 'window="$(xdotool search --onlyvisible --name "^Cuebolt\$" 2>/dev/null | head -n1)"; [ -n "$window" ]' || {
  cat "$scratch/host.log" >&2
  exit 1
}

# The window is mapped before it is painted: grab until two pictures in a row agree.
mkdir -p "$(dirname "$out")"
"$grab" "$window" "$scratch/previous.png"
wait_for '"$grab" "$window" "$out" && cmp -s "$out" "$scratch/previous.png" || { cp "$out" "$scratch/previous.png"; false; }'
echo "$(cd "$(dirname "$out")" && pwd)/$(basename "$out")"
