# Cheap checks of what the program shows to the desktop and the shell: the
# shipped desktop entry, metainfo and man page validate, and the command line
# answers help, version and mistakes without a display.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
find_program(APPSTREAMCLI appstreamcli REQUIRED)
find_program(GROFF groff REQUIRED)

set(resources ${PROJECT_SOURCE_DIR}/resources)
add_test(NAME desktop.entry COMMAND ${DESKTOP_FILE_VALIDATE} ${resources}/lorvane.desktop)
add_test(NAME desktop.metainfo
         COMMAND ${APPSTREAMCLI} validate --no-net ${resources}/example.lorvane.Lorvane.metainfo.xml)
# groff prints a warning for each fault of the page; there must be none.
add_test(NAME desktop.manpage COMMAND ${GROFF} -man -ww -z ${CMAKE_BINARY_DIR}/lorvane.1)
set_tests_properties(desktop.entry desktop.manpage PROPERTIES FAIL_REGULAR_EXPRESSION ".")

if(TARGET lorvane)
  # Each row: name, exit status, stdout pattern, stderr pattern, arguments.
  set(rows
      "help|0|^Usage: lorvane .*--version||--help"
      "version|0|^lorvane ${PROJECT_VERSION}||--version"
      "unknown_option|2||unknown option '--bogus'.*--help|--bogus"
      "missing_folder|2||'/nonexistent/lorvane' is not a folder|/nonexistent/lorvane"
      "file_as_folder|2||is not a folder|${resources}/lorvane.desktop")
  foreach(row ${rows})
    string(REPLACE "|" ";" fields "${row}")
    list(POP_FRONT fields name status out err)
    add_test(NAME desktop.commandline.${name}
             COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:lorvane> "-DARGS=${fields}"
                     -DSTATUS=${status} "-DSTDOUT=${out}" "-DSTDERR=${err}"
                     -P ${PROJECT_SOURCE_DIR}/cmake/CheckProgramOutput.cmake)
    # No display at all: a program that opened its window here would abort.
    set_tests_properties(desktop.commandline.${name} PROPERTIES ENVIRONMENT_MODIFICATION
        "DISPLAY=unset:;WAYLAND_DISPLAY=unset:;QT_QPA_PLATFORM=unset:;LC_ALL=set:C.UTF-8;LANG=set:C.UTF-8")
  endforeach()
endif()
