# Where `cmake --install` puts things below the prefix. The program finds everything from its
# own folder: its base folder is the folder "Tessivar" beside it, found without regard to case,
# which is the program's folder itself when that is named tessivar. So the program, its engine
# library, the manual, install.ini and the user folder with the examples stay together in one
# folder, lib/tessivar; the command-line runner and a link to the program go on the PATH, and
# the desktop files, icons and man pages where the desktop and man look for them.
# On Windows everything, voxtrel-run.exe included, goes into the one folder Tessivar.
include(GNUInstallDirs)
if(WIN32)
  set(program_dir Tessivar)
else()
  set(program_dir lib/tessivar)
endif()
set(TESSIVAR_INSTALL_PROGRAMDIR ${program_dir} CACHE STRING
    "Folder below the installation prefix holding the program, its engine library, manual and examples")
if(WIN32)
  set(TESSIVAR_INSTALL_BINDIR ${TESSIVAR_INSTALL_PROGRAMDIR})
else()
  set(TESSIVAR_INSTALL_BINDIR ${CMAKE_INSTALL_BINDIR})
endif()
# The Python package tessivar, where Debian's python3 looks for the system's packages.
set(TESSIVAR_INSTALL_PYTHONDIR lib/python3/dist-packages CACHE STRING
    "Folder below the installation prefix holding the Python package tessivar")
set(TESSIVAR_INSTALL_USERDIR ${TESSIVAR_INSTALL_PROGRAMDIR}/user)
set(TESSIVAR_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/tessivar)
# The examples are installed read-only: saving the form over one fails, so they stay as shipped,
# and a read-only installation's copies in a user's own folder are made read-only again.
set(TESSIVAR_READ_ONLY_FILE OWNER_READ GROUP_READ WORLD_READ)
