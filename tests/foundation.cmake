# The timer: the start time, the preset, the command line, the shared functions, the platform
# layer and the main window driven with an injected clock.
set(steepo_version_definitions
  STEEPO_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
  STEEPO_VERSION_MINOR=${PROJECT_VERSION_MINOR}
  STEEPO_VERSION_PATCH=${PROJECT_VERSION_PATCH}
  STEEPO_VERSION_TWEAK=${PROJECT_VERSION_TWEAK})

steepo_add_test(steepo_start_time_test
  SOURCES StartTimeTest.cpp
  LIBS steepo_core)

steepo_add_test(steepo_utils_test
  SOURCES OrbUtilsTest.cpp PlatformTest.cpp ${CMAKE_SOURCE_DIR}/app/VersionInfo.cpp
  LIBS steepo_common steepo_platform)
target_compile_definitions(steepo_utils_test PRIVATE ${steepo_version_definitions})

steepo_add_test(steepo_main_window_test
  SOURCES MainWindowTest.cpp ${CMAKE_SOURCE_DIR}/app/VersionInfo.cpp
  LIBS steepo_core)
target_compile_definitions(steepo_main_window_test PRIVATE ${steepo_version_definitions})
