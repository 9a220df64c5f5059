#!/usr/bin/env bash
# Speed of KDE 5's thumbnails: bench/kde-thumbnails.sh [BUILD] [CORPUS]
# Installs the build in /usr inside a private root (as the packages install it; needs root), then
# times the sample folder's thumbnails through KIO::PreviewJob with the plugin against GNOME's own thumbnail factory.
# See bench/kde_thumbnails.py.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
corpus=$(realpath "${2:-../shared/qxp-corpus}")
exec tests/support/in-private-root bash -c '
  cmake --install "$1" --prefix /usr > /dev/null
  exec /usr/bin/python3 bench/kde_thumbnails.py "$2" "$1"' kde-thumbnails "$build" "$corpus"
