# Runs a program (through EMULATOR when one is given) with the arguments after "--" and checks
# what a bad argument gives: exit status 2, nothing on stdout, and on stderr the one line
# "kalendo-cli: WHAT (see kalendo-cli --help)".
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
# Windows ends the line with CR LF.
if(NOT status EQUAL 2 OR NOT out STREQUAL ""
   OR NOT err MATCHES "^kalendo-cli: [^\n]+ \\(see kalendo-cli --help\\)\r?\n$")
  message(FATAL_ERROR "${args}: exit ${status}, stdout '${out}', stderr '${err}'")
endif()
