# cmake -DSRC=... -DDST=... -P copy_if_absent.cmake
# Copies the starter settings only where there is no settings file yet: the one beside the
# executables holds the user's places and is never overwritten.
if(EXISTS "${DST}" OR IS_SYMLINK "${DST}")
  return()
endif()
get_filename_component(dir "${DST}" DIRECTORY)
file(MAKE_DIRECTORY "${dir}")
file(COPY_FILE "${SRC}" "${DST}")
