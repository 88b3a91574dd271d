# The usual hardening of a distribution's binaries, for every target of the
# build: position-independent executables, stack protector, fortified libc
# calls where the optimiser makes them possible, and a read-only relocation
# table bound at start.
option(LORVANE_HARDENING "Build with stack protector, fortified calls, PIE and full RELRO" ON)
if(NOT LORVANE_HARDENING)
  return()
endif()

include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong)
# A level the packager already chose (dpkg-buildflags passes one) stays; some
# compilers define a level of their own, which ours replaces without a warning.
if(NOT "${CMAKE_CXX_FLAGS} ${CMAKE_CPPFLAGS}" MATCHES "_FORTIFY_SOURCE")
  add_compile_options("$<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
endif()
add_link_options(-Wl,-z,relro,-z,now)
