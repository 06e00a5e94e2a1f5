# Removes what the install listed in MANIFEST wrote (under $DESTDIR, as the
# install did), then the folders of the program that this leaves empty. Nothing else is touched: the user's files
# live in the program folder of their home, never under the prefix.
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: ${MANIFEST} is missing; run make install first")
endif()
file(STRINGS "${MANIFEST}" files)
set(folders "")
foreach(file IN LISTS files)
  set(file "$ENV{DESTDIR}${file}")
  if(IS_SYMLINK "${file}" OR EXISTS "${file}")
    message(STATUS "Removing ${file}")
    file(REMOVE "${file}")
  endif()
  get_filename_component(folder "${file}" DIRECTORY)
  list(APPEND folders "${folder}")
endforeach()
# Deepest first, each folder of the program (one named vesktools, or inside
# one) and its parents of the program while they are empty; shared folders
# such as bin/ or the icon theme stay.
list(REMOVE_DUPLICATES folders)
list(SORT folders ORDER DESCENDING)
foreach(folder IN LISTS folders)
  while(IS_DIRECTORY "${folder}" AND "${folder}" MATCHES "/vesktools(/|$)")
    file(GLOB entries "${folder}/*" "${folder}/.*")
    if(entries)
      break()
    endif()
    file(REMOVE_RECURSE "${folder}")
    get_filename_component(folder "${folder}" DIRECTORY)
  endwhile()
endforeach()
