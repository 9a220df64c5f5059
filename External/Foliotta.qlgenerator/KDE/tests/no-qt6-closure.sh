#!/bin/sh
# Fails when any library in the whole dependency closure of a binary is Qt 6's, or when the
# closure cannot be resolved. Usage: no-qt6-closure.sh BINARY
set -eu
closure=$(ldd "$1") || { echo "ldd cannot resolve $1"; exit 1; }
if echo "$closure" | grep -q "not found"; then
    echo "$closure" | grep "not found"; exit 1
fi
qt6=$(echo "$closure" | grep -i 'libQt6' || true)
if [ -n "$qt6" ]; then
    echo "Qt 6 in the closure of $1:"; echo "$qt6"; exit 1
fi
echo "$(echo "$closure" | wc -l) libraries in the closure of $1, $(echo "$closure" | grep -c 'libQt5') of them Qt 5's, none Qt 6's"
