#!/bin/sh
# Installs the build the way `make install-system` and `make install-user` do, inside a private root,
# then hides the build folder and uses what was installed: the extractor and pbutil on a sample, the
# pane in prefhost, the uninstaller started from /temp. No installed file may name the build folder.
# Usage: install-cycle.sh IN-PRIVATE-ROOT BUILD-DIR SAMPLE-DOCUMENT
set -eu
# Everything below changes /Library, /usr/local and /temp: only ever inside a private root.
if [ -z "${INSTALL_CYCLE_CHILD:-}" ]; then
    exec env INSTALL_CYCLE_CHILD=1 "$1" "$0" "$@"
fi
build=$2 sample=$3
failures=0
# A command that stops the script under set -e would otherwise end it without a word.
trap 'status=$?; [ "$status" = 0 ] || echo "install cycle: ended with status $status"' EXIT
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { description=$1; shift; "$@" || fail "$description"; }

export PATH=/usr/sbin:/usr/bin:/sbin:/bin QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=$(mktemp -d /tmp/orvella-install-runtime.XXXXXX)
home=$(mktemp -d "/tmp/orvella install home.XXXXXX")
rm -rf /Library /usr/local/lib/orvella /temp
mkdir -m 0755 /temp

# Reinstalling keeps the settings the user chose, in both install roots.
cmake --install "$build" --prefix /usr/local > /dev/null
HOME=$home cmake --install "$build" --prefix "$home/.local" > /dev/null
for settings in /Library/QuickLook/Foliotta.qlgenerator/Contents/Resources/skin.plist \
                "$home/Library/QuickLook/Foliotta.qlgenerator/Contents/Resources/skin.plist"; do
    check "the default settings are installed: $settings" grep -q '<string>none</string>' "$settings"
    sed -i 's|<string>none</string>|<string>RGB(1,2,3)</string>|' "$settings"
done
cmake --install "$build" --prefix /usr/local > /dev/null
HOME=$home cmake --install "$build" --prefix "$home/.local" > /dev/null
check "a reinstall keeps the system settings" grep -q 'RGB(1,2,3)' /Library/QuickLook/Foliotta.qlgenerator/Contents/Resources/skin.plist
check "a reinstall keeps the user's settings" grep -q 'RGB(1,2,3)' "$home/Library/QuickLook/Foliotta.qlgenerator/Contents/Resources/skin.plist"

# Where things went.
for program in qxpextract pbutil prefhost; do
    check "$program in /usr/local/bin" test -x /usr/local/bin/$program
    check "$program in ~/.local/bin" test -x "$home/.local/bin/$program"
    check "nothing of ours in /bin: $program" test ! -e /bin/$program -a ! -e /usr/bin/$program
done
for page in qxpextract pbutil prefhost; do
    check "man finds $page" test "$(man -w $page)" = /usr/local/share/man/man1/$page.1.gz
done
check "polkit's action where polkit reads it" test -f /usr/share/polkit-1/actions/com.brimwell.orvella.policy
check "the pane under /Library" test -f /Library/PreferencePanes/Orvella.prefPane/Contents/Info.plist
check "the pane under ~/Library" test -f "$home/Library/PreferencePanes/Orvella.prefPane/Contents/Info.plist"
for data in /usr/local/share "$home/.local/share"; do
    entry=$data/applications/com.brimwell.orvella.desktop
    check "the preferences entry in $data: $(desktop-file-validate "$entry" 2>&1)" \
        test -f "$entry" -a -z "$(desktop-file-validate "$entry" 2>&1)"
    check "the icon in $data" test -f "$data/icons/hicolor/48x48/apps/com.brimwell.orvella.png" \
        -a -f "$data/icons/hicolor/scalable/apps/com.brimwell.orvella.svg"
    check "the metadata in $data" test -f "$data/metainfo/com.brimwell.orvella.metainfo.xml"
done

# Run paths: relative to the file, or the installed library folder for the uninstaller, which runs
# from a copy in /temp; never the build folder, never an empty entry.
run_path() { readelf -d "$1" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]$/\1/p'; }
find /usr/local/bin /usr/local/lib/orvella /Library "$home/.local" "$home/Library" -type f > "$XDG_RUNTIME_DIR/installed"
while IFS= read -r f; do
    file -b "$f" | grep -q '^ELF' || continue
    readelf -d "$f" | grep -q '(RPATH)' && fail "$f has an RPATH, not a RUNPATH"
    run_path "$f" | tr ':' '\n' | while IFS= read -r entry; do
        case $entry in
            '$ORIGIN'*|/usr/local/lib/orvella|"$home/.local/lib/orvella") ;;
            *) echo "$f has the run path entry '$entry'" ;;
        esac
    done
done < "$XDG_RUNTIME_DIR/installed" > "$XDG_RUNTIME_DIR/bad-run-paths"
check "only our library folders in run paths: $(cat "$XDG_RUNTIME_DIR/bad-run-paths")" test ! -s "$XDG_RUNTIME_DIR/bad-run-paths"
# In the build folder too: an empty entry would make the loader search the current folder.
find "$build" -type f \( -name '*.so' -o -perm -u+x \) | while IFS= read -r f; do
    file -b "$f" | grep -q '^ELF' || continue
    entries=$(run_path "$f")
    case ":$entries:" in *::*) if [ -n "$entries" ]; then echo "$f"; fi ;; esac
done > "$XDG_RUNTIME_DIR/empty-run-path-entries"
check "no empty run path entries in the build folder: $(cat "$XDG_RUNTIME_DIR/empty-run-path-entries")" \
    test ! -s "$XDG_RUNTIME_DIR/empty-run-path-entries"
check "the uninstaller names the installed library folder" sh -c \
    "readelf -d /Library/PreferencePanes/Orvella.prefPane/Contents/Resources/Orvella_Uninstaller.app/Contents/MacOS/Orvella_Uninstaller | grep -q 'RUNPATH.*\[/usr/local/lib/orvella\]'"

# Without the build folder.
mount -t tmpfs hidden-build-folder "$build"
check "qxpextract runs from /usr/local/bin" sh -c "/usr/local/bin/qxpextract -p '$sample' install-test > /dev/null"
listing=$(/usr/local/bin/pbutil list install-test) || fail "pbutil list"
check "the page picture is on the pasteboard" sh -c "echo '$listing' | grep -q '^2	public.png	'"
check "the summary line is on the pasteboard" test "$(/usr/local/bin/pbutil get install-test 3 public.utf8-plain-text | head -c 11)" = QuarkXPress
check "~/.local/bin/qxpextract runs" sh -c "HOME='$home' '$home/.local/bin/qxpextract' -s '$sample' install-test > /dev/null"
check "~/.local/bin/pbutil lists" sh -c "'$home/.local/bin/pbutil' list install-test | grep -q '^0	public.utf8-plain-text	'"
check "pbutil --version" sh -c "/usr/local/bin/pbutil --version | grep -q '^pbutil [0-9]'"
check "prefhost --help" sh -c "/usr/local/bin/prefhost --help | grep -q '^usage: prefhost'"
for pane in /Library/PreferencePanes/Orvella.prefPane "$home/Library/PreferencePanes/Orvella.prefPane"; do
    status=0
    HOME=$home timeout 3 /usr/local/bin/prefhost "$pane" > "$XDG_RUNTIME_DIR/prefhost.log" 2>&1 || status=$?
    [ $status = 124 ] || fail "prefhost shows $pane (status $status): $(cat "$XDG_RUNTIME_DIR/prefhost.log")"
done

# The uninstaller as the pane leaves it: a copy in /temp, its libraries found from there.
cp -r /Library/PreferencePanes/Orvella.prefPane/Contents/Resources/Orvella_Uninstaller.app /temp
check "the copy in /temp finds its libraries" sh -c \
    "! ldd /temp/Orvella_Uninstaller.app/Contents/MacOS/Orvella_Uninstaller | grep -q 'not found'"

umount "$build"

# make uninstall-user and make uninstall-system take all of it away again.
uninstall=$(dirname "$0")/../../scripts/uninstall.sh
"$uninstall" /usr/local /Library
"$uninstall" "$home/.local" "$home/Library"
left=$(find /usr/local "$home/.local" /etc/xdg/autostart "$home/.config" /Library "$home/Library" \
            \( -iname '*orvella*' -o -iname '*foliotta*' -o -name qxpextract -o -name pbutil -o -name prefhost \
               -o -name 'qxpextract.1.gz' -o -name 'pbutil.1.gz' -o -name 'prefhost.1.gz' \) 2>/dev/null)
check "the uninstall scripts leave nothing (found: $left)" test -z "$left"
check "the uninstall takes polkit's action away" test ! -e /usr/share/polkit-1/actions/com.brimwell.orvella.policy
for database in /usr/local/share/mime "$home/.local/share/mime"; do
    check "the type database forgets the type: $database" sh -c "! grep -qs quarkxpress '$database/types'"
done
rm -rf "$home" "$XDG_RUNTIME_DIR"
[ $failures = 0 ] && echo "install cycle: all checks passed"
exit $((failures != 0))
