#!/bin/sh
# Removes what `make install-user` or `make install-system` put in place, settings included: every
# file the install recorded (programs, libraries, man pages, and the desktop's files wherever they
# went), the folders that leaves empty, the bundles, and the thumbnailer's font cache.
# Usage: uninstall.sh PREFIX LIBRARY-FOLDER   (~/.local ~/Library, or /usr/local /Library)
set -eu
prefix=${1%/} library=${2%/}
record=$prefix/share/orvella/installed-files
typeDatabases=$(mktemp) iconThemes=$(mktemp)
trap 'rm -f "$typeDatabases" "$iconThemes"' EXIT

# Takes away the folders of our own name that a removed file leaves empty; shared folders such as
# share/man/man1 or share/thumbnailers stay, as other programs may install there.
removeEmptyFolders() {
    folder=$(dirname "$1")
    while case ${folder##*/} in *orvella*|*foliotta*) true ;; *) false ;; esac && rmdir "$folder" 2>/dev/null; do
        folder=$(dirname "$folder")
    done
}

if [ -f "$record" ]; then
    while IFS= read -r file; do
        # Only absolute paths that stay where they say: the record is a plain file, read as data.
        case $file in
            /*/../*|/*/./*|*/..|*/.) echo "uninstall: skipped a strange entry: $file" >&2; continue ;;
            /*) ;;
            *) continue ;;
        esac
        if [ -f "$file" ] || [ -L "$file" ]; then
            rm -f "$file"
            removeEmptyFolders "$file"
        fi
        case $file in
            */mime/packages/*.xml) dirname "$(dirname "$file")" >> "$typeDatabases" ;;
            */icons/hicolor/*) echo "${file%%/icons/hicolor/*}/icons/hicolor" >> "$iconThemes" ;;
        esac
    done < "$record"
else
    echo "uninstall: no record of an install in $prefix; removing the bundles only" >&2
fi
rm -rf "$prefix/lib/foliotta" "$prefix/lib/orvella" "$prefix/share/orvella" \
       "$library/QuickLook/Foliotta.qlgenerator" "$library/PreferencePanes/Orvella.prefPane"

# The type definition went: the desktop's type database forgets the type.
while IFS= read -r database; do
    if [ -d "$database" ] && command -v update-mime-database > /dev/null; then
        mkdir -p "$database/packages"  # ours may have been the last definition in it
        update-mime-database "$database" || true
    fi
done < "$typeDatabases"

# The icons went: a theme folder with a cache of its own must not keep offering them.
sort -u "$iconThemes" | while IFS= read -r theme; do
    if [ -f "$theme/index.theme" ] && command -v gtk-update-icon-cache > /dev/null; then
        gtk-update-icon-cache --force --quiet "$theme" || true
    fi
done
