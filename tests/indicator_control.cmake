# The indicator widget: properties and their change handling, size at any rotation, hover,
# materials, and the rendered image checked pixel by pixel. Links the widget library only.
steepo_add_test(LumoLiquidIndicatorTest
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoLiquidIndicatorTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/LumoLiquidIndicatorRenderTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/LumoLiquidIndicatorRegionTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorLimitsTest.cpp
  LIBS lumo_indicator)
