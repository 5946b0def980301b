# Copies the shipped data files beside the program unless a file of that name
# is already there: a player's library and help file are never overwritten.
foreach(name OnLoad.dat Tarvik_kxv-help.chm)
  set(src "${SOURCE_DIR}/${name}")
  set(dst "${DEST_DIR}/${name}")
  if(EXISTS "${src}" AND NOT EXISTS "${dst}")
    file(COPY_FILE "${src}" "${dst}")
    message(STATUS "placed ${dst}")
  endif()
endforeach()
