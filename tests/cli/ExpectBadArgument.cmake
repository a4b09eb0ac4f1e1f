# Runs a program (through EMULATOR when one is given) with the arguments after "--" and checks
# what a bad argument gives: exit status 2, nothing on stdout, one line on stderr.
#   cmake -DPROGRAM=path [-DEMULATOR=wine64] -P ExpectBadArgument.cmake -- ARG...
# (Without the "--" cmake would read arguments such as --version itself.)
set(args "")
math(EXPR last "${CMAKE_ARGC} - 1")
set(after_separator FALSE)
foreach(i RANGE ${last})
  if(after_separator)
    list(APPEND args "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "--")
    set(after_separator TRUE)
  endif()
endforeach()
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${args}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REGEX MATCHALL "\n" line_ends "${err}")
list(LENGTH line_ends lines)
if(NOT status EQUAL 2 OR NOT out STREQUAL "" OR NOT lines EQUAL 1 OR NOT err MATCHES "^kalendo-cli: ")
  message(FATAL_ERROR "${args}: exit ${status}, stdout '${out}', stderr '${err}'")
endif()
