# Install-time step: writes the menu entry with the executable's full path
# below the prefix of this install (DESTDIR honoured, as for the package).
include("${CMAKE_CURRENT_LIST_DIR}/InstallProgramDir.cmake")
set(TARVIK_EXECUTABLE "${TARVIK_PROGRAM_DIR}/tarvik-kxv")
# A path with blanks or other reserved characters is quoted, as the desktop
# entry format asks.
string(REPLACE "%" "%%" TARVIK_EXECUTABLE "${TARVIK_EXECUTABLE}")
if(TARVIK_EXECUTABLE MATCHES "[] \t\n\"'\\><~|&;$*?#()`[]")
  string(REGEX REPLACE "([\"`$\\])" "\\\\\\1" TARVIK_EXECUTABLE "${TARVIK_EXECUTABLE}")
  set(TARVIK_EXECUTABLE "\"${TARVIK_EXECUTABLE}\"")
endif()
set(_entry "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/tarvik-kxv.desktop")
message(STATUS "Installing: ${_entry}")
configure_file("${TARVIK_DESKTOP_TEMPLATE}" "${_entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${_entry}")
