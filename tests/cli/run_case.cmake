# Runs tqlookup with the arguments of one case file (one argument per line;
# a line "exit N" gives an expected exit status, "stdout FILE" sends standard
# output to FILE instead, with nothing to compare, "data SET" reads the data
# set SET of the folder DATA_SETS instead of DATA) and compares its standard
# output with the expected text (%VERSION% is the project's), and its standard
# error with the case's .err file when there is one.
file(STRINGS ${ARGS} lines ENCODING UTF-8)
set(expected_status 0)
set(arguments)
set(redirect)
foreach(line ${lines})
  if(line MATCHES "^exit ([0-9]+)$")
    set(expected_status ${CMAKE_MATCH_1})
  elseif(line MATCHES "^stdout (.+)$")
    set(redirect OUTPUT_FILE ${CMAKE_MATCH_1})
  elseif(line MATCHES "^data (.+)$")
    set(DATA ${DATA_SETS}/${CMAKE_MATCH_1})
  else()
    list(APPEND arguments "${line}")
  endif()
endforeach()
execute_process(COMMAND ${TQLOOKUP} --data ${DATA} --date 2026-01-15 --now 2026-01-15T17:00Z
  ${arguments}
  OUTPUT_VARIABLE output ERROR_VARIABLE errors ${redirect} RESULT_VARIABLE status
  INPUT_FILE /dev/null)
file(READ ${EXPECTED} expected)
string(REPLACE "%VERSION%" "${VERSION}" expected "${expected}")
if(NOT status EQUAL expected_status)
  message(FATAL_ERROR "exit status ${status}, expected ${expected_status}\n${output}")
endif()
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "output differs.\n--- got:\n${output}--- expected:\n${expected}")
endif()
string(REGEX REPLACE "[.]out$" ".err" expected_errors_file ${EXPECTED})
if(EXISTS ${expected_errors_file})
  file(READ ${expected_errors_file} expected_errors)
  if(NOT errors STREQUAL expected_errors)
    message(FATAL_ERROR "standard error differs.\n--- got:\n${errors}--- expected:\n"
                        "${expected_errors}")
  endif()
endif()
