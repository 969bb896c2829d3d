#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, then configures and builds a preset (default: dev).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-dev}"
shift || true
bash scripts/setup.sh
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/cuebolt-ccache}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)" "$@"
