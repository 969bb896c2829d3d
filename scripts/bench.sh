#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the benchmark programs with the release preset and runs them one after another (about
# three minutes, a minute of it idle), printing their figures. The full output of each, with the
# private servers' chatter, stays in <build folder>/bench-logs/.
# With a build folder as argument, runs the programs already built there instead.
set -euo pipefail
cd "$(dirname "$0")/.."
programs=(midi_jack_latency bench_listener_dispatch bench_end_to_end bench_flood bench_idle)
if [[ $# -gt 0 ]]; then
  build="$1"
else
  build=build/release
  bash scripts/build.sh release --target "${programs[@]}" >/dev/null
fi
logs="$build/bench-logs"
mkdir -p "$logs"

# Start-up banners and timing complaints of jackd and dbus-daemon, and the mappings the listener
# code logs as it loads them: not figures.
noise='^(jackdmp |Copyright |jackdmp comes|This is free software|under certain conditions|JACK server starting|self-connect-mode|Jack main caught|JackTimedDriver::|JackAudioDriver::|JackEngine::XRun|dbus-daemon\[|Unknown (source|destination) port in attempted|Cannot connect ports owned by inactive clients)|\] \{function = '

echo "$(uptime)"
status=0
for program in "${programs[@]}"; do
  log="$logs/$program.log"
  if ! "$build/tests/bench/$program" >"$log" 2>&1; then
    echo "$program exited with an error"
    status=1
  fi
  grep -Ev "$noise" "$log" || true
  echo "  (jackd logged $(grep -c "XRun" "$log" || true) xrun lines; full output in $log)"
  echo
done
exit "$status"
