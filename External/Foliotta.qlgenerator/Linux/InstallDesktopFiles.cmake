# Run when installing: writes the desktop files that name installed paths, for the prefix being
# installed to, and refreshes what a user install must refresh itself (a package's triggers do
# that for a package).
set(DESKTOP_DATADIR "${FOLIOTTA_DATADIR}")
include("${FOLIOTTA_DESKTOP_LOCATIONS}")
set(prefix "${desktop_prefix}")
set(datadir "${desktop_datadir}")
set(desktopdata "${desktop_data}")
set(autostart "${desktop_autostart}")
set(FOLIOTTA_SCRATCH "${FOLIOTTA_SCRATCH}/${desktop_install_key}")
# The thumbnailers' readers take the Exec line's program as it stands once "%%" is "%" again.
desktop_string_value(THUMBNAILER_TRY_EXEC "${prefix}/${FOLIOTTA_BINDIR}/foliotta-thumbnailer")
desktop_exec_argument(THUMBNAILER_EXEC "${prefix}/${FOLIOTTA_BINDIR}/foliotta-thumbnailer")
desktop_program(SYNC "${prefix}/${FOLIOTTA_BINDIR}/foliotta-sync-thumbnailer")
desktop_program(PREVIEW "${prefix}/${FOLIOTTA_BINDIR}/foliotta-preview")
set(FONT_CACHE_DIR "${prefix}/${FOLIOTTA_LIBDIR}/foliotta/fontconfig")
configure_file("${FOLIOTTA_SOURCE}/foliotta.thumbnailer.in" "${FOLIOTTA_SCRATCH}/foliotta.thumbnailer" @ONLY)
configure_file("${FOLIOTTA_SOURCE}/fonts.conf.in" "${FOLIOTTA_SCRATCH}/fonts.conf" @ONLY)
configure_file("${FOLIOTTA_SOURCE}/foliotta-sync-thumbnailer.desktop.in" "${FOLIOTTA_SCRATCH}/foliotta-sync-thumbnailer.desktop" @ONLY)

# The font configuration stays beside the programs (bin/../share/foliotta), where they look.
file(INSTALL "${FOLIOTTA_SCRATCH}/fonts.conf" DESTINATION "${datadir}/foliotta")
file(INSTALL "${FOLIOTTA_SCRATCH}/foliotta.thumbnailer" DESTINATION "${desktopdata}/thumbnailers")
file(INSTALL "${FOLIOTTA_SOURCE}/foliotta-quarkxpress.xml" DESTINATION "${desktopdata}/mime/packages")
file(INSTALL "${FOLIOTTA_SCRATCH}/foliotta-sync-thumbnailer.desktop" DESTINATION "${autostart}")
# "Open With" in the file manager, where the quick preview is built.
if(FOLIOTTA_WITH_PREVIEW)
    configure_file("${FOLIOTTA_SOURCE}/../Preview/foliotta-preview.desktop.in" "${FOLIOTTA_SCRATCH}/foliotta-preview.desktop" @ONLY)
    file(INSTALL "${FOLIOTTA_SCRATCH}/foliotta-preview.desktop" DESTINATION "${desktopdata}/applications")
endif()
file(REMOVE_RECURSE "${FOLIOTTA_SCRATCH}")

if("$ENV{DESTDIR}" STREQUAL "")
    find_program(UPDATE_MIME_DATABASE update-mime-database)
    if(UPDATE_MIME_DATABASE)
        execute_process(COMMAND "${UPDATE_MIME_DATABASE}" "${desktopdata}/mime")
    endif()
    find_program(FC_CACHE fc-cache)
    if(FC_CACHE)
        file(MAKE_DIRECTORY "${FONT_CACHE_DIR}")
        execute_process(COMMAND "${CMAKE_COMMAND}" -E env "FONTCONFIG_FILE=${datadir}/foliotta/fonts.conf"
                                "${FC_CACHE}" --force)
    endif()
endif()
