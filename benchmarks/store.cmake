# The time a store of the settings file takes against the file's size.
if(NOT WIN32)
  steepo_add_benchmark(StoreBenchmark SOURCES StoreBenchmark.cpp LIBS steepo_platform)
endif()
