# Windows only: the registry preset, the resources the program carries, the locale and the
# taskbar button of a real window (under Wine it needs an X server: scripts/windows runs the
# tests inside xvfb-run).
if(NOT WIN32)
  return()
endif()
steepo_add_test(WindowsPlatformTest SOURCES WindowsPlatformTest.cpp LIBS steepo_common steepo_platform steepo_resources)
# The jump list's calls to the shell, through a destination list of the test's own.
steepo_add_test(JumpListTest SOURCES JumpListTest.cpp LIBS steepo_platform ole32 shell32)
