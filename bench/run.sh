#!/usr/bin/env bash
# Runs the benchmarks against an existing build: bench/run.sh [BUILD] [CORPUS]
set -euo pipefail
cd "$(dirname "$0")/.."
python3 bench/run.py "${1:-build}" "${2:-../shared/qxp-corpus}"
# The pasteboard store on its own: publishing and listing long lists.
python3 bench/pasteboard.py "${1:-build}"
# How long opening an application through the workspace keeps its caller.
python3 bench/workspace_open.py "${1:-build}"
exec python3 bench/preview_search.py "${1:-build}" "${2:-../shared/qxp-corpus}"
