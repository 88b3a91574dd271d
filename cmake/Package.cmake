# The Debian package (`cpack -G DEB`, run by scripts/package). Dependencies
# come from dpkg-shlibdeps; binaries are stripped.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lorvane)
set(CPACK_PACKAGE_VENDOR "The Lorvane developers")
set(CPACK_PACKAGE_CONTACT "The Lorvane developers <authors@lorvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bulk file renamer with a live preview")
set(CPACK_PACKAGE_DESCRIPTION
    "Lorvane renames the files of one folder at once. The files of the folder
chosen in a folder tree are listed next to the names they would get, updated
on every click and keystroke. Rules change or delete the base name or the
extension, replace text, change the letter case and insert running numbers;
single files can be kept out, and the last renaming can be undone. A rename
never replaces an existing file.
.
The window and its messages are in Arabic.")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://lorvane.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# File type icons come from the icon theme, the Arabic texts of Qt's own
# dialogs from its translations, and opening files and folders goes through
# xdg-open. The Wayland plugin lets the window run natively there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "adwaita-icon-theme, qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS qt6-wayland)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Debian's own documents of the package: copyright and the package changelog.
option(LORVANE_DEBIAN_DOCS "Install the Debian copyright and changelog files" OFF)
if(LORVANE_DEBIAN_DOCS)
  set(LORVANE_DEB_VERSION ${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
  set(debian ${PROJECT_SOURCE_DIR}/resources/debian)
  configure_file(${debian}/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian @ONLY)
  lorvane_gzip(${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian
               ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz)
  install(FILES ${debian}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lorvane)
  install(FILES ${debian}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
          RENAME lorvane)
endif()

include(CPack)
