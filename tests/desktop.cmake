# The desktop's channels: the dock entry and the notification on a private session bus, and
# the end of a countdown on a headless Wayland compositor.
# Linux only: Windows has the taskbar instead (windows.cmake).
if(WIN32)
  return()
endif()
find_package(Qt6 REQUIRED COMPONENTS DBus)
steepo_add_test(DesktopBusTest SOURCES DesktopBusTest.cpp LIBS steepo_core Qt6::DBus)

# Its own main starts the compositor before the application connects to it.
add_executable(WaylandAlarmTest WaylandAlarmTest.cpp)
target_link_libraries(WaylandAlarmTest PRIVATE steepo_core GTest::gtest Qt6::Test Qt6::DBus)
# It also runs the program itself.
target_compile_definitions(WaylandAlarmTest PRIVATE STEEPO_PROGRAM="$<TARGET_FILE:steepo>")
add_dependencies(WaylandAlarmTest steepo)
add_test(NAME WaylandAlarmTest COMMAND WaylandAlarmTest)
set(wayland_test_environment "LANG=C.UTF-8;LC_ALL=C.UTF-8")
if(STEEPO_SANITIZE)
  # Qt's wayland plugin leaves a few protocol objects of libwayland-client behind at exit, and
  # is unloaded before the leak check could name it.
  list(APPEND wayland_test_environment "ASAN_OPTIONS=detect_leaks=0")
endif()
set_tests_properties(WaylandAlarmTest PROPERTIES ENVIRONMENT "${wayland_test_environment}" TIMEOUT 600)

# The Flatpak manifest is read by flatpak-builder (its runtime cannot be downloaded here).
find_program(STEEPO_FLATPAK_BUILDER flatpak-builder)
if(STEEPO_FLATPAK_BUILDER)
  add_test(NAME FlatpakManifestTest
    COMMAND ${STEEPO_FLATPAK_BUILDER} --show-manifest
            ${PROJECT_SOURCE_DIR}/packaging/flatpak/${STEEPO_APP_ID}.yml)
endif()
