#!/usr/bin/env bash
# Runs the benchmarks against an existing build: bench/run.sh [BUILD] [CORPUS]
# qxpextract is timed as installed, from a scratch prefix (BENCH_EXTRACTOR names another one).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
corpus=${2:-../shared/qxp-corpus}
if [ -z "${BENCH_EXTRACTOR:-}" ]; then
  prefix=$(mktemp -d /tmp/orvella-bench-install.XXXXXX)
  trap 'rm -rf "$prefix"' EXIT
  cmake --install "$build" --prefix "$prefix" > "$prefix.log" 2>&1 || { cat "$prefix.log" >&2; exit 1; }
  rm -f "$prefix.log"
  export BENCH_EXTRACTOR="$prefix/bin/qxpextract"
fi
python3 bench/run.py "$build" "$corpus"
# The pasteboard store on its own: publishing and listing long lists.
python3 bench/pasteboard.py "$build"
# How long opening an application through the workspace keeps its caller.
python3 bench/workspace_open.py "$build"
python3 bench/preview_search.py "$build" "$corpus"
