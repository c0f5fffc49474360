# Copies SRC to DST and leaves DST read-only for everyone. A read-only copy left by an earlier
# build is made writable first, so that a changed example replaces it.
if(NOT DEFINED SRC OR NOT DEFINED DST)
  message(FATAL_ERROR "copy_read_only.cmake: call with -DSRC=<example> -DDST=<target path>")
endif()
if(EXISTS "${DST}")
  file(CHMOD "${DST}" PERMISSIONS OWNER_READ OWNER_WRITE)
  file(REMOVE "${DST}")
endif()
get_filename_component(dst_dir "${DST}" DIRECTORY)
file(MAKE_DIRECTORY "${dst_dir}")
file(COPY_FILE "${SRC}" "${DST}")
file(CHMOD "${DST}" PERMISSIONS OWNER_READ GROUP_READ WORLD_READ)
