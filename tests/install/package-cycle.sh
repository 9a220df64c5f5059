#!/bin/sh
# Checks the built Debian packages: lintian finds no errors; inside a private root apt installs
# them, the installed qxpextract and pbutil work from /usr/bin, and so do the thumbnailer, the
# preview, KDE's search extractor and KDE's thumbnails (through KIO::PreviewJob, with the program
# PREVIEW_PROBE names); a reinstall keeps changed settings, and a removal leaves nothing of the
# packages but the user's settings, and a purge leaves nothing.
# Usage: [PREVIEW_PROBE=kio-preview-probe] package-cycle.sh PACKAGE.deb [KDE-PACKAGE.deb]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
package=$(realpath "$1")
kdePackage=$([ $# -ge 2 ] && [ -f "$2" ] && realpath "$2" || true)
if [ -z "${PACKAGE_CYCLE_CHILD:-}" ]; then
    for deb in "$package" $kdePackage; do
        echo "lintian $(basename "$deb"):"
        lintian --tag-display-limit 0 "$deb" | tee /tmp/orvella-lintian.$$ || true
        errors=$(grep -c '^E:' /tmp/orvella-lintian.$$ || true)
        rm -f /tmp/orvella-lintian.$$
        [ "$errors" = 0 ] || { echo "FAIL: lintian reports $errors errors"; exit 1; }
    done
    exec env PACKAGE_CYCLE_CHILD=1 "$here/../support/in-private-root" "$0" "$package" $kdePackage
fi

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
check() { description=$1; shift; "$@" || fail "$description"; }
export PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive
export XDG_RUNTIME_DIR=$(mktemp -d /tmp/orvella-package-runtime.XXXXXX)
sample=$here/../data/qxp/formatting.qxd
settings=/Library/QuickLook/Foliotta.qlgenerator/Contents/Resources/skin.plist
autostartEntry=/etc/xdg/autostart/foliotta-sync-thumbnailer.desktop
rm -rf /Library

apt-get install -y -q "$package" > "$XDG_RUNTIME_DIR/apt.log" 2>&1 || { cat "$XDG_RUNTIME_DIR/apt.log"; exit 1; }
check "qxpextract in /usr/bin" sh -c "/usr/bin/qxpextract -p '$sample' package-test > /dev/null"
check "pbutil lists the picture" sh -c "/usr/bin/pbutil list package-test | grep -q '^2	public.png	'"
check "prefhost in /usr/bin" sh -c "/usr/bin/prefhost --version | grep -q '^prefhost '"
check "the libraries in /usr/lib/<triplet>/orvella" test -f "/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/orvella/libCoreFoundation.so"
for program in $(dpkg -L orvella | grep '^/usr/bin/'); do
    check "man finds $(basename "$program")" test "$(man -w "$(basename "$program")")" = "/usr/share/man/man1/$(basename "$program").1.gz"
done
check "the default settings are installed" grep -q '<string>none</string>' "$settings"
check "the pane is in /Library" test -f /Library/PreferencePanes/Orvella.prefPane/Contents/Info.plist

# The desktop's side: thumbnails, the type, the preview and KDE's search.
triplet=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
extractor=/usr/lib/$triplet/libexec/kf5/kfilemetadata/externalextractors/foliotta-quarkxpress
check "the thumbnailer draws from /usr/bin" /usr/bin/foliotta-thumbnailer -s 128 "$sample" "$XDG_RUNTIME_DIR/thumbnail.png"
check "the thumbnail is a PNG" sh -c "file '$XDG_RUNTIME_DIR/thumbnail.png' | grep -q 'PNG image data'"
check "the desktops find the thumbnailer" test -f /usr/share/thumbnailers/foliotta.thumbnailer
check "the type database knows the type" grep -q 'application/vnd.quark.quarkxpress' /usr/share/mime/magic
check "the thumbnailer's font cache is made" sh -c "ls /usr/lib/$triplet/foliotta/fontconfig/*cache* > /dev/null"
check "the preview draws from /usr/bin" env QT_QPA_PLATFORM=offscreen HOME="$XDG_RUNTIME_DIR" \
    /usr/bin/foliotta-preview "$sample" --png "$XDG_RUNTIME_DIR/preview.png"
check "KDE's search extractor answers" sh -c "printf '{\"path\": \"%s\", \"mimetype\": \"application/vnd.quark.quarkxpress\"}' '$sample' |
    '$extractor/foliotta-search' | grep -q '\"status\": *\"OK\"'"
check "KDE's search extractor has its manifest" test -f "$extractor/manifest.json"

# The menus and software centres: the preferences entry opens the pane, a user's own copy first.
entry=/usr/share/applications/com.brimwell.orvella.desktop
for desktopFile in "$entry" /usr/share/applications/foliotta-preview.desktop "$autostartEntry"; do
    check "desktop-file-validate $desktopFile: $(desktop-file-validate "$desktopFile")" \
        test -f "$desktopFile" -a -z "$(desktop-file-validate "$desktopFile")"
done
check "appstreamcli validates the metadata" appstreamcli validate --no-net /usr/share/metainfo/com.brimwell.orvella.metainfo.xml
for size in 16x16 24x24 32x32 48x48 64x64 128x128 256x256 scalable; do
    check "the icon at $size" sh -c "ls /usr/share/icons/hicolor/$size/apps/com.brimwell.orvella.* > /dev/null"
done
check "the icon cache knows the icon" grep -qa com.brimwell.orvella /usr/share/icons/hicolor/icon-theme.cache
home=$XDG_RUNTIME_DIR/home
userPane=$home/Library/PreferencePanes/Orvella.prefPane
mkdir -p "$userPane/Contents"
cp /Library/PreferencePanes/Orvella.prefPane/Contents/Info.plist "$userPane/Contents"  # no code: it cannot open
# The prefhost that GLib started for this home folder, once it has loaded the pane's code.
launchedPane() {
    for tries in $(seq 100); do
        for process in /proc/[0-9]*; do
            [ "$(readlink "$process/exe" 2>/dev/null)" = /usr/bin/prefhost ] || continue
            grep -qaz "^HOME=$home\$" "$process/environ" 2>/dev/null || continue
            grep -q 'Orvella.prefPane/Contents/MacOS/Orvella_Prefs' "$process/maps" 2>/dev/null || continue
            echo "${process#/proc/}"
            return
        done
        sleep 0.1
    done
}
HOME=$home QT_QPA_PLATFORM=offscreen gio launch "$entry" > "$XDG_RUNTIME_DIR/launch.log" 2>&1 || fail "gio launch: $(cat "$XDG_RUNTIME_DIR/launch.log")"
for tries in $(seq 100); do grep -q "$userPane" "$XDG_RUNTIME_DIR/launch.log" && break; sleep 0.1; done
check "the entry tries the user's copy first: $(cat "$XDG_RUNTIME_DIR/launch.log")" grep -q "^prefhost: $userPane: " "$XDG_RUNTIME_DIR/launch.log"
rm -rf "$home/Library"
HOME=$home QT_QPA_PLATFORM=offscreen gio launch "$entry" > "$XDG_RUNTIME_DIR/launch.log" 2>&1 || fail "gio launch: $(cat "$XDG_RUNTIME_DIR/launch.log")"
pane=$(launchedPane)
check "the entry opens the pane in /Library: $(cat "$XDG_RUNTIME_DIR/launch.log")" sh -c \
    "[ -n '$pane' ] && grep -q ' /Library/PreferencePanes/Orvella.prefPane/Contents/MacOS/Orvella_Prefs' /proc/$pane/maps"
[ -n "$pane" ] && kill "$pane"

# KDE 5's thumbnails: the plugin, asked through KDE's own client as Dolphin asks it.
if [ -n "$kdePackage" ]; then
    apt-get install -y -q "$kdePackage" > "$XDG_RUNTIME_DIR/apt.log" 2>&1 || { cat "$XDG_RUNTIME_DIR/apt.log"; exit 1; }
    plugin=/usr/lib/$triplet/qt5/plugins/kf5/thumbcreator/foliottathumbnail.so
    check "KDE's thumbnail plugin is where KIO looks" test -f "$plugin"
    check "no Qt 6 in the plugin's closure" "$here/../../External/Foliotta.qlgenerator/KDE/tests/no-qt6-closure.sh" "$plugin"
    if [ -z "${PREVIEW_PROBE:-}" ]; then
        echo "KDE previews skipped: no PREVIEW_PROBE (kio-preview-probe) given"
    else
        kdeHome=$XDG_RUNTIME_DIR/kde-home
        mkdir -p "$kdeHome"
        probe() {  # SIZE FILE [EXPECTED.png]: kio-preview-probe in a private session bus, offscreen
            HOME=$kdeHome QT_QPA_PLATFORM=offscreen KDE_FORK_SLAVES=1 dbus-run-session -- "$PREVIEW_PROBE" "$@" 2> /dev/null
        }
        for size in 128 256; do
            /usr/bin/foliotta-thumbnailer -s $size "$sample" "$XDG_RUNTIME_DIR/expected-$size.png"
            check "KDE's preview at $size px has the thumbnailer's pixels" probe $size "$sample" "$XDG_RUNTIME_DIR/expected-$size.png"
        done
        cp "$XDG_RUNTIME_DIR/expected-128.png" "$XDG_RUNTIME_DIR/picture.qxd"
        head -c 3000 "$sample" > "$XDG_RUNTIME_DIR/truncated.qxd"
        for unreadable in picture truncated; do
            probe 128 "$XDG_RUNTIME_DIR/$unreadable.qxd" > "$XDG_RUNTIME_DIR/probe.out" && fail "a $unreadable .qxd gets a preview"
            check "a $unreadable .qxd is typed as QuarkXPress" grep -qx 'type application/vnd.quark.quarkxpress' "$XDG_RUNTIME_DIR/probe.out"
        done
        # The pane's change (third skin, a colour), then the settings step that clears the cached pictures.
        printf '<?xml version="1.0" encoding="UTF-8"?>\n<plist version="1.0"><dict><key>Skin Index</key><string>1</string>%s</dict></plist>\n' \
            '<key>BGColor</key><string>RGB(214,234,248)</string>' > "$settings"
        HOME=$kdeHome /usr/bin/foliotta-sync-thumbnailer
        /usr/bin/foliotta-thumbnailer -s 128 --skin Ocean --background 214,234,248 "$sample" "$XDG_RUNTIME_DIR/expected-ocean.png"
        check "after the settings step KDE's preview is in the new skin" probe 128 "$sample" "$XDG_RUNTIME_DIR/expected-ocean.png"
        cp /usr/share/orvella/skin.plist "$settings"
        # The pane's uninstall takes the generator away; after the settings step, no thumbnails.
        mv /Library/QuickLook/Foliotta.qlgenerator "$XDG_RUNTIME_DIR/generator"
        HOME=$kdeHome /usr/bin/foliotta-sync-thumbnailer
        probe 128 "$sample" > /dev/null && fail "KDE's preview is drawn with no generator installed"
        mv "$XDG_RUNTIME_DIR/generator" /Library/QuickLook/Foliotta.qlgenerator
    fi
fi

sed -i 's|<string>none</string>|<string>RGB(1,2,3)</string>|' "$settings"
apt-get install -y -q --reinstall "$package" > "$XDG_RUNTIME_DIR/apt.log" 2>&1 || fail "reinstall: $(cat "$XDG_RUNTIME_DIR/apt.log")"
check "a reinstall keeps the settings" grep -q 'RGB(1,2,3)' "$settings"

dpkg -L orvella $([ -n "$kdePackage" ] && echo orvella-kde) > "$XDG_RUNTIME_DIR/files"
apt-get remove -y -q orvella $([ -n "$kdePackage" ] && echo orvella-kde) > "$XDG_RUNTIME_DIR/apt.log" 2>&1 || fail "remove: $(cat "$XDG_RUNTIME_DIR/apt.log")"
autostart=$autostartEntry
while IFS= read -r path; do
    [ -f "$path" ] && [ "$path" != "$autostart" ] && fail "left after removal: $path"
done < "$XDG_RUNTIME_DIR/files"
# A removal keeps the changed conffile, as Debian does; the desktops skip it once its program is gone.
check "the kept autostart entry names a program that is gone" sh -c \
    "program=\$(sed -n 's/^TryExec=//p' $autostart) && [ -n \"\$program\" ] && [ ! -e \"\$program\" ]"
left=$(find /Library -type f)
check "only the settings are left in /Library (found: $left)" test "$left" = "$settings"
check "no library folder is left" test ! -e "/usr/lib/$triplet/orvella"
check "no font cache is left" test ! -e "/usr/lib/$triplet/foliotta"

apt-get purge -y -q orvella > "$XDG_RUNTIME_DIR/apt.log" 2>&1 || fail "purge: $(cat "$XDG_RUNTIME_DIR/apt.log")"
check "a purge removes the autostart entry" test ! -e "$autostart"
check "the icon cache forgets the icon" sh -c "! grep -qa com.brimwell.orvella /usr/share/icons/hicolor/icon-theme.cache"
check "a purge removes the settings and /Library" test ! -e /Library

rm -rf "$XDG_RUNTIME_DIR"
[ $failures = 0 ] && echo "package cycle: all checks passed"
exit $((failures != 0))
