# What the dialogs cost to build: the alarm dialog is built at start-up, before the main
# window shows, and the about dialog on every F1.
if(TARGET steepo_core AND EXISTS ${PROJECT_SOURCE_DIR}/app/F_Steepo2.cpp)
  steepo_add_benchmark(DialogsBenchmark SOURCES DialogsBenchmark.cpp LIBS steepo_core)
endif()
