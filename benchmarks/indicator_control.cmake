# The indicator widget: a full rebuild per text change and one paint of the main window's
# indicator, beside one paint of Qt's own QLCDNumber of the same size.
steepo_add_benchmark(LumoLiquidIndicatorBench
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoLiquidIndicatorBench.cpp
  LIBS lumo_indicator Qt6::Widgets)
# Time and peak memory of one extreme property value at a time, each in a process of its own.
add_executable(steepo_indicator_extremes ${CMAKE_CURRENT_LIST_DIR}/IndicatorExtremes.cpp)
target_link_libraries(steepo_indicator_extremes PRIVATE lumo_indicator Qt6::Widgets)
# The QML item's rows, beside the widget's in the same program, where Qt Quick is built.
if(TARGET lumo_indicator_qml)
  target_sources(LumoLiquidIndicatorBench PRIVATE ${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorQmlBench.cpp)
  target_link_libraries(LumoLiquidIndicatorBench PRIVATE lumo_indicator_qml)
endif()
