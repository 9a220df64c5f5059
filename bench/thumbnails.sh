#!/usr/bin/env bash
# Speed of the desktop thumbnails: bench/thumbnails.sh [BUILD] [CORPUS]
# Installs the build in /usr inside a private root (as the package installs it; needs root), then
# times thumbnails of the sample folder there: through GNOME's own thumbnail factory against the
# peer registered the same way (bench/gnome_thumbnails.py, Debian's python3 for its bindings), and
# the thumbnailer alone, in and out of bubblewrap (bench/thumbnails.py).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
corpus=$(realpath "${2:-../shared/qxp-corpus}")
exec tests/support/in-private-root bash -c '
  cmake --install "$1" --prefix /usr > /dev/null
  /usr/bin/python3 bench/gnome_thumbnails.py "$2"
  exec python3 bench/thumbnails.py "$2"' thumbnails "$build" "$corpus"
