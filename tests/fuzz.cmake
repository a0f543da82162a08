# The fuzz targets of tests/fuzz/ replayed on their seed corpora (with the inputs of every fault
# fuzzing found), by the ordinary compiler and without libFuzzer.
function(steepo_add_fuzz_replay name corpus source)
  add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/${source} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/FuzzReplay.cpp)
  target_link_libraries(${name} PRIVATE ${ARGN})
  if(WIN32)
    qt_import_plugins(${name} INCLUDE Qt6::QOffscreenIntegrationPlugin)  # Qt is static there
  endif()
  add_test(NAME ${name} COMMAND ${name} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${corpus})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8;LC_ALL=C.UTF-8" TIMEOUT ${STEEPO_TEST_TIMEOUT})
endfunction()

steepo_add_fuzz_replay(CommandLineCorpusTest command_line CommandLineFuzzer.cpp steepo_core)
if(NOT WIN32)  # the preset file, and the buses
  steepo_add_fuzz_replay(PresetCorpusTest preset PresetFuzzer.cpp steepo_core)
  steepo_add_fuzz_replay(BusWireCorpusTest bus_wire BusWireFuzzer.cpp steepo_platform)
endif()
steepo_add_fuzz_replay(IndicatorCorpusTest indicator IndicatorFuzzer.cpp lumo_indicator)
