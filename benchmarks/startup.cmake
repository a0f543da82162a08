# Launch to mapped window, resident memory and the cost of a running countdown, side by side
# with the least Qt Widgets window of the same shape; the delay and the end that each fault of
# the session bus causes. Need an X display without a window manager:
# xvfb-run -a build/benchmarks/steepo_startup_bench (and steepo_bus_fault_bench)
if(WIN32)
  # The Windows build makes only the baseline, with the toolchain that makes steepo.exe: the
  # Linux benchmark starts both under Wine (scripts/windows --bench).
  add_executable(steepo_startup_baseline WIN32 EXCLUDE_FROM_ALL StartupBaseline.cpp)
  target_link_libraries(steepo_startup_baseline PRIVATE Qt6::Widgets)
  return()
endif()
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(XCB IMPORTED_TARGET xcb)
endif()
if(TARGET PkgConfig::XCB)
  add_executable(steepo_startup_baseline StartupBaseline.cpp)
  target_link_libraries(steepo_startup_baseline PRIVATE Qt6::Widgets)

  steepo_add_benchmark(steepo_startup_bench SOURCES StartupBench.cpp LIBS PkgConfig::XCB)
  target_compile_definitions(steepo_startup_bench PRIVATE
    STEEPO_PROGRAM="$<TARGET_FILE:steepo>"
    BASELINE_PROGRAM="$<TARGET_FILE:steepo_startup_baseline>")
  add_dependencies(steepo_startup_bench steepo steepo_startup_baseline)

  # The start-up and the end against session buses that misbehave, on sockets of its own.
  steepo_add_benchmark(steepo_bus_fault_bench SOURCES BusFaultBench.cpp LIBS PkgConfig::XCB steepo_platform)
  target_compile_definitions(steepo_bus_fault_bench PRIVATE STEEPO_PROGRAM="$<TARGET_FILE:steepo>")
  target_include_directories(steepo_bus_fault_bench PRIVATE ${PROJECT_SOURCE_DIR}/tests)  # FakeBus.h
  add_dependencies(steepo_bus_fault_bench steepo)
endif()
