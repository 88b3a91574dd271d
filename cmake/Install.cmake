# What `cmake --install` puts in place besides the program: its desktop
# entry, icons, AppStream metainfo and man page. The developer tool
# lorvane-button-render installs only with `--component tools`.
set(LORVANE_APP_ID example.lorvane.Lorvane)
set(resources ${PROJECT_SOURCE_DIR}/resources)

install(FILES ${resources}/lorvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${resources}/${LORVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${resources}/icons/lorvane.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${resources}/icons/lorvane-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME lorvane.png)
endforeach()

# Compressed at configure time, so that installing needs no build step of its
# own; -n keeps the archive the same from build to build.
function(lorvane_gzip source target)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  execute_process(COMMAND gzip -9nc ${source} OUTPUT_FILE ${target} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

configure_file(${resources}/lorvane.1.in ${CMAKE_CURRENT_BINARY_DIR}/lorvane.1 @ONLY)
lorvane_gzip(${CMAKE_CURRENT_BINARY_DIR}/lorvane.1 ${CMAKE_CURRENT_BINARY_DIR}/lorvane.1.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/lorvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

include(cmake/Package.cmake)
