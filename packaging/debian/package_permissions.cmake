# Runs in CPack's staging folder before the Debian package is made. The install rules leave the
# examples and their data read-only (0444), so that an installation in a folder of the user's own
# keeps them as shipped. In the package every file belongs to root, which makes 0644 read-only
# for every user already, and 0644 is what Debian expects of a data file.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(f IN LISTS staged)
  if(f MATCHES "/user/[^/]+$" AND NOT IS_SYMLINK "${f}")
    file(CHMOD "${f}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  endif()
endforeach()
