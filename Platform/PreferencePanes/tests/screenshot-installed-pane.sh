#!/bin/sh
# Installs the build into a temporary home, opens the installed pane in prefhost on a private X
# server and saves what the screen shows.
# Usage: screenshot-installed-pane.sh CMAKE BUILD-DIR GRAB-SCREEN OUTPUT.png
set -eu
cmake=$1 build=$2 grab=$3 output=$4
home=$(mktemp -d /tmp/orvella-screenshot.XXXXXX)
trap 'rm -rf "$home"' EXIT
"$cmake" --install "$build" --prefix "$home" >/dev/null
export HOME="$home" QT_QPA_PLATFORM=xcb
# The pane in a window alone on a screen its size; the first skin's settings as installed.
xvfb-run -a -s "-screen 0 668x420x24" sh -c '
  "$1/bin/prefhost" "$1/Library/PreferencePanes/Orvella.prefPane" &
  host=$!
  sleep 3
  status=0
  kill -0 "$host" || status=1
  "$2" "$3" || status=1
  kill "$host" 2>/dev/null || true
  wait "$host" 2>/dev/null || true
  exit $status
' screenshot "$home" "$grab" "$output"
