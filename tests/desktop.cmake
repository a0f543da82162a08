# The desktop's channels: the dock entry and the notification on a private session bus, and
# the end of a countdown on a headless Wayland compositor.
find_package(Qt6 REQUIRED COMPONENTS DBus)
steepo_add_test(DesktopBusTest SOURCES DesktopBusTest.cpp LIBS steepo_core Qt6::DBus)

# Its own main starts the compositor before the application connects to it.
add_executable(WaylandAlarmTest WaylandAlarmTest.cpp)
target_link_libraries(WaylandAlarmTest PRIVATE steepo_core GTest::gtest Qt6::Test)
add_test(NAME WaylandAlarmTest COMMAND WaylandAlarmTest)
set_tests_properties(WaylandAlarmTest PROPERTIES ENVIRONMENT "LANG=C.UTF-8;LC_ALL=C.UTF-8" TIMEOUT 600)
