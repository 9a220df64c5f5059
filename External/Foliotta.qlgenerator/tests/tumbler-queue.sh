#!/bin/sh
# tumbler-queue.sh URI MIME-TYPE FLAVOR EXPECTED-FILE
# Run inside a private D-Bus session (dbus-run-session): asks Tumbler, started by D-Bus
# activation, for one thumbnail through its D-Bus interface and waits up to 60 s for
# EXPECTED-FILE (the cache entry) to appear. Exit 0 when it did.
set -u
uri=$1 mime=$2 flavor=$3 expected=$4
gdbus call --session --dest org.freedesktop.thumbnails.Thumbnailer1 \
  --object-path /org/freedesktop/thumbnails/Thumbnailer1 \
  --method org.freedesktop.thumbnails.Thumbnailer1.Queue "['$uri']" "['$mime']" "$flavor" default 0 || exit 2
tries=0
while [ ! -s "$expected" ]; do
  tries=$((tries + 1))
  [ "$tries" -gt 600 ] && exit 1
  sleep 0.1
done
