# `cmake --install`: the bundle, a command to start it, trellinctl and its bash completion, and the
# desktop's entry for it.
#
# The bundle goes whole under <prefix>/lib/trellin: it holds executables and a plug-in, so it is no
# architecture-independent data for share/, and it must stay one tree, since the program finds its
# resources, plug-ins and signature beside its own executable and copies the tree for every folder
# in the Dock. The command <prefix>/bin/trellin is a relative link to the bundle's executable (the
# program finds its bundle through the link), so a staged install (DESTDIR) keeps working when moved
# into place.
set(TRELLIN_INSTALL_BUNDLE_PARENT "lib/trellin")
# The entry names its icon from the hicolor theme, in the sizes docks and menus ask for.
set(TRELLIN_ICON_NAME "trellin")
set(TRELLIN_ICON_SIZES 48 128 256 512)
# The class the main application's windows carry (FolderLaunchers::mainWindowClass()), by which a
# dock matches them to this entry rather than showing an unknown application beside the folders.
set(TRELLIN_MAIN_WINDOW_CLASS "trellin")

# The icons, rendered once at build time beside the bundle (not in it: they are no part of its seal).
set(icon_root "${CMAKE_BINARY_DIR}/install/icons")
set(icon_files "")
foreach(size IN LISTS TRELLIN_ICON_SIZES)
  set(icon "${icon_root}/hicolor/${size}x${size}/apps/${TRELLIN_ICON_NAME}.png")
  add_custom_command(OUTPUT "${icon}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${icon_root}/hicolor/${size}x${size}/apps"
    COMMAND trellin-render-icon "${PROJECT_SOURCE_DIR}/resources/images/AppIcon.svg" "${icon}" ${size}
    DEPENDS trellin-render-icon "${PROJECT_SOURCE_DIR}/resources/images/AppIcon.svg"
    COMMENT "Rendering the ${size}-pixel icon for the desktop entry"
    VERBATIM)
  list(APPEND icon_files "${icon}")
endforeach()
add_custom_target(trellin_desktop_icons ALL DEPENDS ${icon_files})

# The entry from its one template: everything but the prefix now; the prefix at install time, since
# `cmake --install --prefix` may name another than the one configured.
set(TRELLIN_INSTALLED_EXECUTABLE "@CMAKE_INSTALL_PREFIX@/${TRELLIN_INSTALL_BUNDLE_PARENT}/Trellin.app/Contents/MacOS/Trellin")
configure_file("${PROJECT_SOURCE_DIR}/resources/trellin.desktop.in" "${CMAKE_BINARY_DIR}/install/trellin.desktop.in" @ONLY)
file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/install/bin" "${CMAKE_BINARY_DIR}/install/applications")
file(CREATE_LINK "../${TRELLIN_INSTALL_BUNDLE_PARENT}/Trellin.app/Contents/MacOS/Trellin"
  "${CMAKE_BINARY_DIR}/install/bin/trellin" SYMBOLIC)
# trellinctl likewise: it finds the program it starts beside its own executable in the bundle.
file(CREATE_LINK "../${TRELLIN_INSTALL_BUNDLE_PARENT}/Trellin.app/Contents/MacOS/trellinctl"
  "${CMAKE_BINARY_DIR}/install/bin/trellinctl" SYMBOLIC)

# Before anything is copied: a prefix the entry's Exec line cannot carry stops the install.
install(CODE "set(TRELLIN_ENTRY_TEMPLATE [[${CMAKE_BINARY_DIR}/install/trellin.desktop.in]])
include([[${PROJECT_SOURCE_DIR}/cmake/TrellinInstallPrefixCheck.cmake]])")
install(DIRECTORY "${TRELLIN_BUNDLE_DIR}" DESTINATION "${TRELLIN_INSTALL_BUNDLE_PARENT}" USE_SOURCE_PERMISSIONS)
install(FILES "${CMAKE_BINARY_DIR}/install/bin/trellin" "${CMAKE_BINARY_DIR}/install/bin/trellinctl" DESTINATION bin)
install(FILES "${PROJECT_SOURCE_DIR}/tools/trellinctl/trellinctl.bash" DESTINATION share/bash-completion/completions
  RENAME trellinctl)
install(DIRECTORY "${icon_root}/" DESTINATION share/icons)
install(CODE "set(TRELLIN_ENTRY_TEMPLATE [[${CMAKE_BINARY_DIR}/install/trellin.desktop.in]])
include([[${PROJECT_SOURCE_DIR}/cmake/TrellinInstallEntry.cmake]])")
