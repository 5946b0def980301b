# TARVIK_DATA_FROM_BINDIR: the installed data directory as seen from the
# installed executable's directory, with a trailing '/'. With both install
# directories relative to the prefix it holds for any --prefix given later;
# games/ and bin/ lie at the same depth, so one build serves both.
# TARVIK_EARLIER_FILES_FROM_BINDIR: games/ below the prefix, seen from there
# as well: where earlier installs kept the player's files beside the program.
if(TARVIK_INSTALL_BINDIR STREQUAL "")
  set(_tarvik_bindir "bin")
else()
  set(_tarvik_bindir "${TARVIK_INSTALL_BINDIR}")
endif()
if(IS_ABSOLUTE "${_tarvik_bindir}" OR IS_ABSOLUTE "${TARVIK_INSTALL_DATADIR}")
  set(_tarvik_base "${CMAKE_INSTALL_PREFIX}")
else()
  set(_tarvik_base "/prefix")
endif()
foreach(var _tarvik_bindir TARVIK_INSTALL_DATADIR)
  if(IS_ABSOLUTE "${${var}}")
    set(_tarvik_abs_${var} "${${var}}")
  else()
    set(_tarvik_abs_${var} "${_tarvik_base}/${${var}}")
  endif()
endforeach()
file(RELATIVE_PATH TARVIK_DATA_FROM_BINDIR
  "${_tarvik_abs__tarvik_bindir}" "${_tarvik_abs_TARVIK_INSTALL_DATADIR}")
file(RELATIVE_PATH TARVIK_EARLIER_FILES_FROM_BINDIR "${_tarvik_abs__tarvik_bindir}" "${_tarvik_base}/games")
foreach(var TARVIK_DATA_FROM_BINDIR TARVIK_EARLIER_FILES_FROM_BINDIR)
  if(${var} STREQUAL "")
    set(${var} ".")
  endif()
  set(${var} "${${var}}/")
endforeach()

# Installs a program of the project into the programs' directory of the
# prefix given at install time (cmake/InstallProgramDir.cmake), stripped
# when the install strips (cmake --install --strip, and the package).
function(tarvik_install_program target)
  install(CODE "
    set(TARVIK_INSTALL_BINDIR \"${TARVIK_INSTALL_BINDIR}\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/InstallProgramDir.cmake\")
    file(INSTALL DESTINATION \"\${TARVIK_PROGRAM_DIR}\" TYPE EXECUTABLE FILES \"$<TARGET_FILE:${target}>\")
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\"
        \"\$ENV{DESTDIR}\${TARVIK_PROGRAM_DIR}/$<TARGET_FILE_NAME:${target}>\")
    endif()
  ")
endfunction()
