# Runs tqlookup with the arguments of one case file (one argument per line;
# the first line may be "exit N" for an expected exit status) and compares
# its standard output with the expected text.
file(STRINGS ${ARGS} lines ENCODING UTF-8)
set(expected_status 0)
set(arguments)
foreach(line ${lines})
  if(line MATCHES "^exit ([0-9]+)$")
    set(expected_status ${CMAKE_MATCH_1})
  else()
    list(APPEND arguments "${line}")
  endif()
endforeach()
execute_process(COMMAND ${TQLOOKUP} --data ${DATA} --date 2026-01-15 --now 2026-01-15T17:00Z
  ${arguments}
  OUTPUT_VARIABLE output RESULT_VARIABLE status INPUT_FILE /dev/null)
file(READ ${EXPECTED} expected)
if(NOT status EQUAL expected_status)
  message(FATAL_ERROR "exit status ${status}, expected ${expected_status}\n${output}")
endif()
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "output differs.\n--- got:\n${output}--- expected:\n${expected}")
endif()
