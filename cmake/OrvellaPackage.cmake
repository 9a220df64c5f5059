# `make package`: Debian packages of an install with prefix /usr (programs in /usr/bin, libraries
# in /usr/lib/<triplet>/orvella, bundles in /Library). Their dependencies come from dpkg-shlibdeps.
# Two packages, so that GNOME and Xfce users get no KDE libraries: orvella, everything installed
# without a component, and orvella-kde, KDE 5's thumbnail plugin (component kde), on top of it.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_NAME orvella)
set(CPACK_PACKAGE_NAME orvella)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvella developers <orvella@users.noreply.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "QuarkXPress document thumbnails, previews and search")
set(CPACK_PACKAGE_DESCRIPTION "Shows QuarkXPress 3.1 to 4.1 documents in the file managers of
GNOME, Xfce and KDE: thumbnails, a quick preview window and, in KDE, search
by their text.
qxpextract reads QuarkXPress documents and leaves their text, fonts,
colours, page sizes and a picture of the first page on a named pasteboard,
which pbutil reads. The Orvella preference pane, shown by prefhost, sets the
skin and background colour of the previews and can uninstall the product.")
# Each package's text follows the summary line, which they share.
set(CPACK_DEBIAN_UNSPECIFIED_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "${CMAKE_INSTALL_FULL_LIBDIR}/orvella")
# The hand-off and the uninstaller ask for rights through polkit where it is, else through sudo.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "sudo")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pkexec")
# The install script sees the real prefix, and places the bundles in /Library beside it.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
# The maintainer scripts name the thumbnailer's font cache where this prefix puts it.
set(FOLIOTTA_FONT_CACHE_DIR ${CMAKE_INSTALL_FULL_LIBDIR}/foliotta/fontconfig)
set(FOLIOTTA_FONT_CONFIGURATION ${CMAKE_INSTALL_FULL_DATADIR}/foliotta/fonts.conf)
foreach(script postinst postrm)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/${script}.in ${CMAKE_BINARY_DIR}/packaging/${script} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()
set(CPACK_DEBIAN_UNSPECIFIED_PACKAGE_CONTROL_EXTRA
    "${CMAKE_BINARY_DIR}/packaging/postinst;${CMAKE_BINARY_DIR}/packaging/postrm;${CMAKE_SOURCE_DIR}/packaging/triggers;${CMAKE_SOURCE_DIR}/packaging/conffiles")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

if(ORVELLA_DEBIAN_PACKAGE)
  set(docs ${CMAKE_INSTALL_DATADIR}/doc/orvella)
  set(changelog ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
  add_custom_command(OUTPUT ${changelog}
      COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/changelog > ${changelog}
      DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog)
  add_custom_target(orvella-changelog ALL DEPENDS ${changelog})
  add_dependencies(orvella-shipped orvella-changelog)
  install(FILES ${changelog} packaging/copyright DESTINATION ${docs})
  install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME orvella)
endif()

if(TARGET foliottathumbnail)
  set(CPACK_DEBIAN_KDE_PACKAGE_NAME orvella-kde)
  set(CPACK_DEBIAN_KDE_PACKAGE_SECTION kde)
  set(CPACK_DEBIAN_KDE_PACKAGE_DEPENDS "orvella (= ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})")
  set(CPACK_DEBIAN_KDE_PACKAGE_RECOMMENDS "")  # the main package's are its own
  set(CPACK_DEBIAN_KDE_DESCRIPTION "The thumbnail plugin for KDE Frameworks 5: thumbnails of QuarkXPress
documents in Dolphin, the file dialogs and every other KDE 5 program that
shows previews, in the skin and background colour chosen in the Orvella
preference pane. KDE 6, GNOME and Xfce need only the orvella package.")
  if(ORVELLA_DEBIAN_PACKAGE)
    install(FILES ${changelog} packaging/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvella-kde COMPONENT kde)
  endif()
endif()

include(CPack)
