# Run when installing, included by the scripts that install desktop files: where the desktops look
# for them for the prefix being installed to, and how a path is written into a desktop file.
#
# Sets desktop_prefix (the prefix, "" for /), desktop_datadir (the prefix's own data folder),
# desktop_data (where the desktops read applications, icons, types and thumbnailers) and
# desktop_autostart: /usr/share and /etc/xdg for the system (a system install to / too, never
# /share), ~/.local/share and ~/.config for an install into the home folder.
# Needs DESKTOP_DATADIR, the data folder relative to the prefix.
set(desktop_prefix "${CMAKE_INSTALL_PREFIX}")
if(desktop_prefix STREQUAL "/" OR desktop_prefix STREQUAL "")
    set(desktop_prefix "")
    set(desktop_datadir "/usr/share")
    set(desktop_data "/usr/share")
    set(desktop_autostart "/etc/xdg/autostart")
elseif(DEFINED ENV{HOME} AND (desktop_prefix STREQUAL "$ENV{HOME}" OR desktop_prefix STREQUAL "$ENV{HOME}/.local"))
    set(desktop_datadir "${desktop_prefix}/${DESKTOP_DATADIR}")
    set(desktop_data "$ENV{HOME}/.local/share")
    set(desktop_autostart "$ENV{HOME}/.config/autostart")
else()
    set(desktop_datadir "${desktop_prefix}/${DESKTOP_DATADIR}")
    set(desktop_data "${desktop_datadir}")
    set(desktop_autostart "/etc/xdg/autostart")
    if(NOT desktop_prefix STREQUAL "/usr" AND NOT desktop_prefix STREQUAL "/usr/local")
        set(desktop_autostart "${desktop_prefix}/etc/xdg/autostart")
    endif()
endif()

# Files written for this install are written in a scratch folder of this name, so that installs
# of one build to different places at the same time do not take each other's files.
string(MD5 desktop_install_key "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}|$ENV{HOME}")

# A path as the value of a string key such as TryExec: the key file's reader makes "\\" one
# backslash again.
function(desktop_string_value variable text)
    string(REPLACE "\\" "\\\\" text "${text}")
    set(${variable} "${text}" PARENT_SCOPE)
endfunction()

# One argument of an Exec command line, as freedesktop.org's desktop entries write it: in double
# quotes when it holds a blank or another character the shell would read, with ", `, $ and \
# escaped inside them, every "%" doubled (a field code would start there), and then written as a
# string value. "My Apps 100%/bin/x" becomes "\"My Apps 100%%/bin/x\"".
function(desktop_exec_argument variable argument)
    if(argument MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
        string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" argument "${argument}")
        set(argument "\"${argument}\"")
    endif()
    string(REPLACE "%" "%%" argument "${argument}")
    desktop_string_value(argument "${argument}")
    set(${variable} "${argument}" PARENT_SCOPE)
endfunction()

# The program of an application entry as TryExec names it (KEY_TRY_EXEC) and as its Exec command
# line starts (KEY_EXEC). GLib (2.74) looks the Exec line's program up before it turns "%%" back
# into "%", and so hides an entry whose program path holds a "%": such a program is started
# through env, which GLib finds.
function(desktop_program key program)
    desktop_string_value(tryExec "${program}")
    desktop_exec_argument(exec "${program}")
    if(program MATCHES "%")
        set(exec "env ${exec}")
    endif()
    set(${key}_TRY_EXEC "${tryExec}" PARENT_SCOPE)
    set(${key}_EXEC "${exec}" PARENT_SCOPE)
endfunction()

# The icon cache of an icon theme folder, after icons came or went: GTK reads a stale cache
# rather than the folder. Only where the theme is set up for a cache (it has its index.theme),
# as the system's hicolor folder is.
function(desktop_refresh_icon_cache theme)
    find_program(GTK_UPDATE_ICON_CACHE gtk-update-icon-cache)
    if(GTK_UPDATE_ICON_CACHE AND EXISTS "${theme}/index.theme" AND "$ENV{DESTDIR}" STREQUAL "")
        execute_process(COMMAND "${GTK_UPDATE_ICON_CACHE}" --force --quiet "${theme}")
    endif()
endfunction()
