# Run when installing, after DesktopLocations.cmake: the preferences entry, the icons and the
# AppStream metadata where the desktops read them for this prefix.
set(ORVELLA_DESKTOP_SCRATCH "${ORVELLA_DESKTOP_SCRATCH}/${desktop_install_key}")
desktop_program(PREFHOST "${desktop_prefix}/${ORVELLA_BINDIR}/prefhost")
configure_file("${ORVELLA_DESKTOP_SOURCE}/${ORVELLA_APP_ID}.desktop.in" "${ORVELLA_DESKTOP_SCRATCH}/${ORVELLA_APP_ID}.desktop" @ONLY)
file(INSTALL "${ORVELLA_DESKTOP_SCRATCH}/${ORVELLA_APP_ID}.desktop" DESTINATION "${desktop_data}/applications")
file(REMOVE_RECURSE "${ORVELLA_DESKTOP_SCRATCH}")
file(INSTALL "${ORVELLA_DESKTOP_SOURCE}/${ORVELLA_APP_ID}.metainfo.xml" DESTINATION "${desktop_data}/metainfo")

set(theme "${desktop_data}/icons/hicolor")
file(INSTALL "${ORVELLA_ICONS}/" DESTINATION "${theme}")
file(INSTALL "${ORVELLA_DESKTOP_SOURCE}/${ORVELLA_APP_ID}.svg" DESTINATION "${theme}/scalable/apps")
desktop_refresh_icon_cache("${theme}")
