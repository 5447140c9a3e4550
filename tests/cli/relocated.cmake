# Installs the build under a fresh prefix and runs the installed tqlookup in
# a folder without data files: it must find the data installed beside it.
file(REMOVE_RECURSE ${PREFIX})
file(MAKE_DIRECTORY ${PREFIX}/elsewhere)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} OUTPUT_QUIET
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${PREFIX}/bin/tqlookup 212 WORKING_DIRECTORY ${PREFIX}/elsewhere
  OUTPUT_VARIABLE output RESULT_VARIABLE status)
file(REMOVE_RECURSE ${PREFIX})
if(NOT status EQUAL 0 OR NOT output MATCHES "\n  New York\n")
  message(FATAL_ERROR "the relocated tqlookup found no data (status ${status}):\n${output}")
endif()
