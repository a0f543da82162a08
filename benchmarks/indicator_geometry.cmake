# The polygon lists of whole indicators, rebuilt as a changing text would rebuild them.
steepo_add_benchmark(LumoGeometryBench SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoGeometryBench.cpp LIBS lumo_geometry)
# The main window's layout, as the geometry tests have it.
target_include_directories(LumoGeometryBench PRIVATE ${PROJECT_SOURCE_DIR}/indicator/autotests)
