# Run when installing: writes the desktop files that name installed paths, for the prefix being
# installed to, and refreshes what a user install must refresh itself (a package's triggers do
# that for a package).
set(prefix "${CMAKE_INSTALL_PREFIX}")
set(THUMBNAILER_PROGRAM "${prefix}/${FOLIOTTA_BINDIR}/foliotta-thumbnailer")
set(SYNC_PROGRAM "${prefix}/${FOLIOTTA_BINDIR}/foliotta-sync-thumbnailer")
set(FONT_CACHE_DIR "${prefix}/${FOLIOTTA_LIBDIR}/foliotta/fontconfig")
configure_file("${FOLIOTTA_SOURCE}/foliotta.thumbnailer.in" "${FOLIOTTA_SCRATCH}/foliotta.thumbnailer" @ONLY)
configure_file("${FOLIOTTA_SOURCE}/fonts.conf.in" "${FOLIOTTA_SCRATCH}/fonts.conf" @ONLY)
configure_file("${FOLIOTTA_SOURCE}/foliotta-sync-thumbnailer.desktop.in" "${FOLIOTTA_SCRATCH}/foliotta-sync-thumbnailer.desktop" @ONLY)

file(INSTALL "${FOLIOTTA_SCRATCH}/foliotta.thumbnailer" DESTINATION "${prefix}/${FOLIOTTA_DATADIR}/thumbnailers")
file(INSTALL "${FOLIOTTA_SCRATCH}/fonts.conf" DESTINATION "${prefix}/${FOLIOTTA_DATADIR}/foliotta")
# The desktops start what lies in the system's XDG configuration folder, /etc/xdg, for /usr.
if(prefix STREQUAL "/usr")
    set(autostart "/etc/xdg/autostart")
else()
    set(autostart "${prefix}/etc/xdg/autostart")
endif()
file(INSTALL "${FOLIOTTA_SCRATCH}/foliotta-sync-thumbnailer.desktop" DESTINATION "${autostart}")

if("$ENV{DESTDIR}" STREQUAL "")
    find_program(UPDATE_MIME_DATABASE update-mime-database)
    if(UPDATE_MIME_DATABASE)
        execute_process(COMMAND "${UPDATE_MIME_DATABASE}" "${prefix}/${FOLIOTTA_DATADIR}/mime")
    endif()
    find_program(FC_CACHE fc-cache)
    if(FC_CACHE)
        file(MAKE_DIRECTORY "${FONT_CACHE_DIR}")
        execute_process(COMMAND "${CMAKE_COMMAND}" -E env "FONTCONFIG_FILE=${prefix}/${FOLIOTTA_DATADIR}/foliotta/fonts.conf"
                                "${FC_CACHE}")
    endif()
endif()
