# The fuzz corpora replayed as tests of the ordinary build: every target of
# tests/fuzz/ is linked with ReplayMain.cpp instead of libFuzzer and run on
# its saved inputs in tests/fuzz/corpus/<target>/.
# FuzzedDataProvider.h (header-only, from clang) is copied alone: clang's
# folder of headers does not suit another compiler.
file(GLOB provider /usr/lib/llvm-*/lib/clang/*/include/fuzzer/FuzzedDataProvider.h)
set(TELQUEST_FUZZED_DATA_PROVIDER_DIR)
if(provider)
  list(GET provider 0 provider)
  set(TELQUEST_FUZZED_DATA_PROVIDER_DIR ${CMAKE_CURRENT_BINARY_DIR}/fuzz-include)
  configure_file(${provider} ${TELQUEST_FUZZED_DATA_PROVIDER_DIR}/fuzzer/FuzzedDataProvider.h
    COPYONLY)
endif()
file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/fuzz_*.cpp)
foreach(source IN LISTS fuzz_sources)
  get_filename_component(name ${source} NAME_WE)
  string(REPLACE "fuzz_" "" target ${name})
  file(READ ${source} text)
  if(text MATCHES "FuzzedDataProvider" AND NOT TELQUEST_FUZZED_DATA_PROVIDER_DIR)
    message(STATUS "fuzz corpus of ${target} not replayed: FuzzedDataProvider.h (clang) is missing")
    continue()
  endif()
  add_executable(replay_${target} ${source} ${CMAKE_CURRENT_LIST_DIR}/ReplayMain.cpp)
  target_include_directories(replay_${target} PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  if(TELQUEST_FUZZED_DATA_PROVIDER_DIR)
    target_include_directories(replay_${target} SYSTEM PRIVATE ${TELQUEST_FUZZED_DATA_PROVIDER_DIR})
  endif()
  target_link_libraries(replay_${target} PRIVATE telquest_testdata)
  target_compile_definitions(replay_${target} PRIVATE TELQUEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME fuzz_corpus_${target}
    COMMAND replay_${target} ${CMAKE_CURRENT_LIST_DIR}/corpus/${target})
endforeach()
