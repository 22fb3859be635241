# Runs at install time. The entry's Exec line quotes the executable's path, and inside quotes these
# characters would need escapes of their own that desktops read differently; a newline ends the
# line. Such a prefix is refused before anything is installed.
if(CMAKE_INSTALL_PREFIX MATCHES "[\"`$\\\n]")
  message(FATAL_ERROR "Trellin cannot be installed under \"${CMAKE_INSTALL_PREFIX}\": a desktop entry cannot "
    "name a program whose path holds a quote, a backquote, a dollar sign, a backslash or a line break. "
    "Choose another prefix.")
endif()
