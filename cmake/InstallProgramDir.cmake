# Install-time step: TARVIK_PROGRAM_DIR, the full path of the programs'
# directory for this install's prefix (without DESTDIR). An empty
# TARVIK_INSTALL_BINDIR means games/ below /usr, the Debian package's place
# for a game, and bin/ below any other prefix, where the PATH finds it.
string(REGEX REPLACE "(.)/+$" "\\1" _tarvik_prefix "${CMAKE_INSTALL_PREFIX}")
if(TARVIK_INSTALL_BINDIR STREQUAL "")
  if(_tarvik_prefix STREQUAL "/usr")
    set(TARVIK_PROGRAM_DIR "/usr/games")
  else()
    set(TARVIK_PROGRAM_DIR "${_tarvik_prefix}/bin")
  endif()
elseif(IS_ABSOLUTE "${TARVIK_INSTALL_BINDIR}")
  set(TARVIK_PROGRAM_DIR "${TARVIK_INSTALL_BINDIR}")
else()
  set(TARVIK_PROGRAM_DIR "${_tarvik_prefix}/${TARVIK_INSTALL_BINDIR}")
endif()
