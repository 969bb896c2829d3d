#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets and runs each for the given number of seconds (default 30).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
bash scripts/build.sh fuzz --target fuzz_packet_dispatch fuzz_layout_record
for target in fuzz_packet_dispatch fuzz_layout_record; do
  corpus="build/fuzz/corpus/$target"
  mkdir -p "$corpus"
  echo "fuzzing $target for ${seconds}s"
  "build/fuzz/tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" 2>&1 | tail -n 3
done
