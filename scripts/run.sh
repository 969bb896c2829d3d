#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The main job: builds, starts the listener on this machine's display and JACK server (or private
# Xvfb, jackd -d dummy and session bus where there are none) with a stand-in "GarageBand" window,
# plays the six default messages into the MIDI graph and prints each key press the window received.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh dev --target CueboltListener cuebolt-demo >/dev/null
exec build/dev/tests/support/mainjob/cuebolt-demo
