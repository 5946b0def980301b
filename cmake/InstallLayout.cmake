# TARVIK_DATA_FROM_BINDIR: the installed data directory as seen from the
# installed executable's directory, with a trailing '/'. With both install
# directories relative to the prefix it holds for any --prefix given later.
if(IS_ABSOLUTE "${TARVIK_INSTALL_BINDIR}" OR IS_ABSOLUTE "${TARVIK_INSTALL_DATADIR}")
  set(_tarvik_base "${CMAKE_INSTALL_PREFIX}")
else()
  set(_tarvik_base "/prefix")
endif()
foreach(var TARVIK_INSTALL_BINDIR TARVIK_INSTALL_DATADIR)
  if(IS_ABSOLUTE "${${var}}")
    set(_tarvik_${var} "${${var}}")
  else()
    set(_tarvik_${var} "${_tarvik_base}/${${var}}")
  endif()
endforeach()
file(RELATIVE_PATH TARVIK_DATA_FROM_BINDIR
  "${_tarvik_TARVIK_INSTALL_BINDIR}" "${_tarvik_TARVIK_INSTALL_DATADIR}")
if(TARVIK_DATA_FROM_BINDIR STREQUAL "")
  set(TARVIK_DATA_FROM_BINDIR ".")
endif()
set(TARVIK_DATA_FROM_BINDIR "${TARVIK_DATA_FROM_BINDIR}/")
