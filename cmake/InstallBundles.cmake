# Runs at install time. Puts the preview generator bundle and the preference pane bundle into the
# Library folder of the install root, and points the pane's code at the installed libraries.
#
# The install root is the prefix without its usual last part: ~/.local gives ~, /usr/local and /usr
# give /; any other prefix is its own root. Set by the install rules: ORVELLA_PANE_BUNDLE,
# ORVELLA_GENERATOR_CONTENTS, ORVELLA_INSTALL_LIBDIR, ORVELLA_INSTALL_DEFAULT_SETTINGS and the
# function orvella_set_run_path.
string(REGEX REPLACE "/+$" "" prefix "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "/(\\.local|usr/local|usr)$" "" root "${prefix}")
set(library "${root}/Library")
set(libraries "${prefix}/${ORVELLA_INSTALL_LIBDIR}")
# DESTDIR, for the checks and edits below; file(INSTALL) adds it by itself.
set(staging "$ENV{DESTDIR}")

# The generator bundle. Its skin.plist holds the user's choice once installed: a reinstall keeps it.
set(generator "${library}/QuickLook/Foliotta.qlgenerator/Contents")
file(INSTALL "${ORVELLA_GENERATOR_CONTENTS}/" DESTINATION "${generator}" PATTERN skin.plist EXCLUDE)
set(settings "${generator}/Resources/skin.plist")
if(ORVELLA_INSTALL_DEFAULT_SETTINGS)
  if(EXISTS "${staging}${settings}" OR IS_SYMLINK "${staging}${settings}")
    message(STATUS "Keeping: ${staging}${settings}")
  else()
    file(INSTALL "${ORVELLA_GENERATOR_CONTENTS}/Resources/skin.plist" DESTINATION "${generator}/Resources")
  endif()
endif()

# The pane bundle, with the uninstaller it carries. The pane's code is loaded from the bundle and
# finds our libraries relative to itself; the uninstaller runs from a copy elsewhere, so it names the
# installed library folder outright.
set(paneCode "${library}/PreferencePanes/Orvella.prefPane/Contents/MacOS")
set(uninstaller "${library}/PreferencePanes/Orvella.prefPane/Contents/Resources/Orvella_Uninstaller.app/Contents/MacOS")
file(INSTALL "${ORVELLA_PANE_BUNDLE}" DESTINATION "${library}/PreferencePanes" USE_SOURCE_PERMISSIONS)
file(RELATIVE_PATH paneToLibraries "${paneCode}" "${libraries}")
orvella_set_run_path("${paneCode}/Orvella_Prefs" "$ORIGIN/${paneToLibraries}")
file(CHMOD "${staging}${paneCode}/Orvella_Prefs" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
orvella_set_run_path("${uninstaller}/Orvella_Uninstaller" "${libraries}")
