# tqlookup --batch as a command: GNU parallel cutting its input into pieces
# for two jobs gives the same rows as one process, one row per line; and each
# failure has its exit status and message.
set(input ${WORK}/batch_numbers.txt)
set(text "")
foreach(i RANGE 0 599)
  math(EXPR form "${i} % 8")
  math(EXPR line "1000 + ${i}")
  if(form EQUAL 0)
    string(APPEND text "937-222-${line}\n")
  elseif(form EQUAL 1)
    string(APPEND text "(937) 294-${line}\r\n")
  elseif(form EQUAL 2)
    string(APPEND text "+1 514 555 ${line}\n")
  elseif(form EQUAL 3)
    string(APPEND text "\n")
  elseif(form EQUAL 4)
    string(APPEND text "call ${line}\n")
  elseif(form EQUAL 5)
    string(APPEND text "1-800-FLOWERS\n")
  elseif(form EQUAL 6)
    string(APPEND text "937.999.${line}\n")
  else()
    string(APPEND text "\"937\" 222 ${line}\n")
  endif()
endforeach()
file(WRITE ${input} "${text}")
set(batch ${TQLOOKUP} --batch --no-header --quiet --data ${DATA} --now 2026-07-05T22:42Z)
execute_process(COMMAND ${batch} INPUT_FILE ${input} OUTPUT_VARIABLE one RESULT_VARIABLE status)
execute_process(COMMAND parallel --will-cite --pipe -k -j2 --block 2k ${batch}
  INPUT_FILE ${input} OUTPUT_VARIABLE pieces RESULT_VARIABLE pieces_status)
if(NOT status EQUAL 0 OR NOT pieces_status EQUAL 0)
  message(FATAL_ERROR "exit status ${status} alone, ${pieces_status} through parallel")
endif()
string(REGEX MATCHALL "\n" rows "${one}")
list(LENGTH rows count)
if(NOT count EQUAL 600)
  message(FATAL_ERROR "${count} rows for 600 lines")
endif()
if(NOT one STREQUAL pieces)
  message(FATAL_ERROR "parallel pieces differ from one process.\n--- one:\n${one}--- pieces:\n${pieces}")
endif()

# "expected exit status|expected standard error|arguments"
set(cases
  "1|tqlookup: cannot write the rows: No space left on device (stopped after 0 rows)|--quiet"
  "2|tqlookup: --jobs: not a number of threads from 1 to 64: 0|--jobs 0"
  "2|tqlookup: the header line has no column named \"phone\"|--column phone"
  "5|tqlookup: Data file cit.bin|--data no-such-folder")
foreach(case ${cases})
  string(REPLACE "|" ";" parts "${case}")
  list(GET parts 0 expected_status)
  list(GET parts 1 expected_error)
  list(GET parts 2 arguments)
  separate_arguments(arguments UNIX_COMMAND "${arguments}")
  execute_process(COMMAND ${TQLOOKUP} --batch --data ${DATA} ${arguments} INPUT_FILE ${input}
    OUTPUT_FILE /dev/full ERROR_VARIABLE error RESULT_VARIABLE status WORKING_DIRECTORY ${WORK})
  string(FIND "${error}" "${expected_error}" at)
  if(NOT status EQUAL expected_status OR at EQUAL -1)
    message(FATAL_ERROR "tqlookup --batch ${arguments}: exit status ${status}, expected "
                        "${expected_status}; standard error:\n${error}")
  endif()
endforeach()
