# Runs last when installing: lists every file this install wrote in PREFIX/share/orvella/installed-files,
# wherever the desktop's files went, so that scripts/uninstall.sh takes away exactly those once the
# build folder is gone. Set by the install rule: ORVELLA_RECORD_DATADIR.
set(record "${CMAKE_INSTALL_PREFIX}/${ORVELLA_RECORD_DATADIR}/orvella/installed-files")
set(installed "${record}")
foreach(file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
  # Under DESTDIR the list names the staged files; the record names where they will be.
  if(NOT "$ENV{DESTDIR}" STREQUAL "")
    string(FIND "${file}" "$ENV{DESTDIR}" at)
    if(at EQUAL 0)
      string(LENGTH "$ENV{DESTDIR}" length)
      string(SUBSTRING "${file}" ${length} -1 file)
    endif()
  endif()
  list(APPEND installed "${file}")
endforeach()
list(REMOVE_DUPLICATES installed)
list(JOIN installed "\n" lines)
file(WRITE "$ENV{DESTDIR}${record}" "${lines}\n")
message(STATUS "Recorded: $ENV{DESTDIR}${record}")
