#!/usr/bin/env bash
# Builds everything and runs every test. Usage: tools/run-tests.sh [default|asan]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
tools/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
ctest --preset "$preset"
