# The two bundles are installed by a script, because where they go depends on the prefix given at
# install time (see InstallBundles.cmake). The pane bundle in the build folder already carries the
# uninstaller.
get_property(ORVELLA_PANE_BUNDLE GLOBAL PROPERTY ORVELLA_PANE_BUNDLE_DIR)
add_dependencies(orvella-shipped OrvellaPrefPane Orvella_UninstallerInPane)
if(ORVELLA_DEBIAN_PACKAGE)
  set(ORVELLA_INSTALL_DEFAULT_SETTINGS OFF)
else()
  set(ORVELLA_INSTALL_DEFAULT_SETTINGS ON)
endif()
install(CODE "
  set(ORVELLA_PANE_BUNDLE \"${ORVELLA_PANE_BUNDLE}\")
  set(ORVELLA_GENERATOR_CONTENTS \"${CMAKE_SOURCE_DIR}/External/Foliotta.qlgenerator/Contents\")
  set(ORVELLA_INSTALL_LIBDIR \"${ORVELLA_INSTALL_LIBDIR}\")
  set(ORVELLA_INSTALL_DEFAULT_SETTINGS ${ORVELLA_INSTALL_DEFAULT_SETTINGS})")
install(SCRIPT ${CMAKE_SOURCE_DIR}/cmake/InstallBundles.cmake)

# The default settings, for the package's maintainer scripts and for anyone who wants them back.
install(FILES External/Foliotta.qlgenerator/Contents/Resources/skin.plist DESTINATION ${CMAKE_INSTALL_DATADIR}/orvella)
