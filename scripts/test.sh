#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Every test: the concurrency tests under ThreadSanitizer; each fuzz target for a bounded time
# (CUEBOLT_FUZZ_SECONDS, default 30); then unit, integration (private dbus-daemon, jackd -d dummy
# and Xvfb started by the tests themselves), widget and end-to-end tests on the dev build.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh tsan --target listener_concurrency_tests
TSAN_OPTIONS="halt_on_error=1" ctest --preset concurrency

bash scripts/fuzz.sh "${CUEBOLT_FUZZ_SECONDS:-30}"

bash scripts/build.sh dev
ctest --preset dev -j 2
