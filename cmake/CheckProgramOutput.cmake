# Runs PROGRAM with ARGS (a ;-list) and checks its exit status and what it
# wrote: `cmake -DPROGRAM=... -DARGS=... -DSTATUS=2 -DSTDOUT=regex -DSTDERR=regex -P`.
# An empty STDOUT or STDERR means that stream must stay empty.
execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE err TIMEOUT 30)
set(problems "")
if(NOT status STREQUAL STATUS)
  string(APPEND problems "exit status ${status}, expected ${STATUS}\n")
endif()
foreach(stream out err)
  string(TOUPPER "STD${stream}" expected)
  if("${${expected}}" STREQUAL "" AND NOT "${${stream}}" STREQUAL "")
    string(APPEND problems "${expected} should be empty\n")
  elseif(NOT "${${expected}}" STREQUAL "" AND NOT "${${stream}}" MATCHES "${${expected}}")
    string(APPEND problems "${expected} does not match '${${expected}}'\n")
  endif()
endforeach()
if(problems)
  message(FATAL_ERROR "${PROGRAM} ${ARGS}:\n${problems}stdout: ${out}\nstderr: ${err}")
endif()
