# Runs at install time: writes the desktop entry for the prefix being installed to, and installs it
# (DESTDIR and the install manifest are honoured by file(INSTALL)). A per cent sign is doubled, as
# the Exec line reads a single one as a field code.
# The install script that includes this file sets no policies: it asks for the project's own.
cmake_policy(PUSH)
cmake_policy(VERSION 3.25)
file(READ "${TRELLIN_ENTRY_TEMPLATE}" entry)
string(REPLACE "%" "%%" exec_prefix "${CMAKE_INSTALL_PREFIX}")
string(REPLACE "@CMAKE_INSTALL_PREFIX@" "${exec_prefix}" entry "${entry}")
get_filename_component(staging "${TRELLIN_ENTRY_TEMPLATE}" DIRECTORY)
file(WRITE "${staging}/applications/trellin.desktop" "${entry}")
file(INSTALL "${staging}/applications/trellin.desktop" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
cmake_policy(POP)
