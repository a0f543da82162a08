# The timer: the start time, the preset, the command line, the shared functions, the platform
# layer and the main window driven with an injected clock.
if(NOT WIN32)  # the preset file; on Windows the registry is WindowsPlatformTest's
  steepo_add_test(StartTimeTest SOURCES StartTimeTest.cpp LIBS steepo_core)
  # The terminal's bytes and languages, as the C library reads the locale environment.
  steepo_add_test(TerminalTextTest SOURCES TerminalTextTest.cpp LIBS steepo_common)
  set_property(TEST TerminalTextTest APPEND PROPERTY ENVIRONMENT
    "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_SOURCE_DIR}/glibc-locpath.supp")
  steepo_add_test(SettingsFileTest SOURCES SettingsFileTest.cpp LIBS steepo_platform)
endif()

# VersionInfo.cpp gives the test program the version information the program file carries.
steepo_add_test(OrbUtilsTest
  SOURCES OrbUtilsTest.cpp ${PROJECT_SOURCE_DIR}/app/VersionInfo.cpp
  LIBS steepo_common steepo_platform)

steepo_add_test(PlatformTest SOURCES PlatformTest.cpp LIBS steepo_platform)
steepo_add_test(OrbFormsTest SOURCES OrbFormsTest.cpp LIBS steepo_common)

steepo_add_test(MainWindowTest
  SOURCES MainWindowTest.cpp ${PROJECT_SOURCE_DIR}/app/VersionInfo.cpp
  LIBS steepo_core)

# The program itself, run without a display.
if(WIN32)
  return()
endif()
add_test(NAME InformationTest
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:steepo> -DVERSION=${PROJECT_VERSION}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/cli/InformationTest.cmake)
