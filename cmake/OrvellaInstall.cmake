# Where an install puts things, for a prefix P (`cmake --install BUILD --prefix P`):
#   programs   P/bin                  run path $ORIGIN/../<library folder>
#   libraries  P/<libdir>/orvella     run path $ORIGIN (they load each other), with the password dialog
#   man pages  P/share/man/man1
#   bundles    R/Library/...          R is the root P belongs to (see InstallBundles.cmake)
# so ~/.local gives ~/.local/bin and ~/Library, /usr/local and /usr give /Library.
#
# Our binaries are installed as plain files and given their run path with patchelf: CMake's own
# install rules would have the build-tree run path padded for the edit, and the padding is an empty
# entry, which makes the loader search the current folder.
include(GNUInstallDirs)
find_program(PATCHELF patchelf REQUIRED)

set(ORVELLA_INSTALL_LIBDIR "${CMAKE_INSTALL_LIBDIR}/orvella")
file(RELATIVE_PATH ORVELLA_PROGRAM_TO_LIBRARIES "/${CMAKE_INSTALL_BINDIR}" "/${ORVELLA_INSTALL_LIBDIR}")

# At install time: the run path of one installed binary; stripped too in `cmake --install --strip`
# and in packages (each of which installs one component).
install(CODE "
  function(orvella_set_run_path file runPath)
    message(STATUS \"Run path of \${file}: \${runPath}\")
    execute_process(COMMAND \"${PATCHELF}\" --set-rpath \"\${runPath}\" \"\$ENV{DESTDIR}\${file}\" COMMAND_ERROR_IS_FATAL ANY)
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded --remove-section=.comment \"\$ENV{DESTDIR}\${file}\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
  endfunction()" ALL_COMPONENTS)

# Everything an install copies, so that a package can be built without the tests.
add_custom_target(orvella-shipped)

# COMPONENT names the package it goes into, when not the main one.
function(orvella_install_binary target destination runPath)
  cmake_parse_arguments(ARG "" "COMPONENT" "" ${ARGN})
  set(component)
  if(ARG_COMPONENT)
    set(component COMPONENT ${ARG_COMPONENT})
  endif()
  add_dependencies(orvella-shipped ${target})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    install(PROGRAMS $<TARGET_FILE:${target}> DESTINATION ${destination} ${component})
  else()
    install(FILES $<TARGET_FILE:${target}> DESTINATION ${destination} ${component})
  endif()
  install(CODE "orvella_set_run_path(\"\${CMAKE_INSTALL_PREFIX}/${destination}/$<TARGET_FILE_NAME:${target}>\" \"${runPath}\")" ${component})
endfunction()

# A program in bin, finding our libraries relative to itself.
function(orvella_install_program target)
  orvella_install_binary(${target} ${CMAKE_INSTALL_BINDIR} "\$ORIGIN/${ORVELLA_PROGRAM_TO_LIBRARIES}")
endfunction()

# A shared library, loadable module or helper program in our private library folder.
function(orvella_install_library target)
  orvella_install_binary(${target} ${ORVELLA_INSTALL_LIBDIR} "\$ORIGIN")
endfunction()

# A man page, compressed as man expects it.
function(orvella_install_man_page page)
  get_filename_component(name "${page}" NAME)
  string(REGEX MATCH "[0-9]$" section "${name}")
  set(compressed "${CMAKE_BINARY_DIR}/man/${name}.gz")
  add_custom_command(OUTPUT "${compressed}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/man"
      COMMAND gzip -9n -c "${page}" > "${compressed}"
      DEPENDS "${page}"
      COMMENT "Compressing the man page ${name}")
  add_custom_target(man-${name} ALL DEPENDS "${compressed}")
  add_dependencies(orvella-shipped man-${name})
  install(FILES "${compressed}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man${section}")
endfunction()
