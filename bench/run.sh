#!/usr/bin/env bash
# Runs the benchmarks against an existing build: bench/run.sh [BUILD] [CORPUS]
set -euo pipefail
cd "$(dirname "$0")/.."
python3 bench/run.py "${1:-build}" "${2:-../shared/qxp-corpus}"
# The pasteboard store on its own: publishing and listing long lists.
exec python3 bench/pasteboard.py "${1:-build}"
