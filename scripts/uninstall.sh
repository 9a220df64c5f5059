#!/bin/sh
# Removes what `make install-user` or `make install-system` put in place, settings included.
# Usage: uninstall.sh PREFIX LIBRARY-FOLDER   (~/.local ~/Library, or /usr/local /Library)
set -eu
prefix=$1 library=$2
rm -f "$prefix/bin/qxpextract" "$prefix/bin/pbutil" "$prefix/bin/prefhost" \
      "$prefix/share/man/man1/qxpextract.1.gz" "$prefix/share/man/man1/pbutil.1.gz" \
      "$prefix/share/man/man1/prefhost.1.gz"
rm -rf "$prefix/lib/orvella" "$prefix/share/orvella" \
       "$library/QuickLook/Foliotta.qlgenerator" "$library/PreferencePanes/Orvella.prefPane"
