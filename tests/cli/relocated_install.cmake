# Installs the build under a fresh prefix and runs the installed tqlookup in
# a folder without data files: it must find the data installed beside it.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
  OUTPUT_QUIET ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install --prefix ${PREFIX} failed:\n${errors}")
endif()
file(MAKE_DIRECTORY ${PREFIX}/elsewhere)
execute_process(COMMAND ${PREFIX}/bin/tqlookup 212 WORKING_DIRECTORY ${PREFIX}/elsewhere
  OUTPUT_VARIABLE output RESULT_VARIABLE status)
file(REMOVE_RECURSE ${PREFIX})
if(NOT status EQUAL 0 OR NOT output MATCHES "\n  New York\n")
  message(FATAL_ERROR "the relocated tqlookup found no data (status ${status}):\n${output}")
endif()
