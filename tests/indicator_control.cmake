# The indicator widget: properties and their change handling, size at any rotation, hover,
# materials, and the rendered image checked pixel by pixel. Links the widget library only.
steepo_add_test(LumoLiquidIndicatorTest
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoLiquidIndicatorTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/LumoLiquidIndicatorRenderTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/LumoLiquidIndicatorRegionTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorLimitsTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/LumoMaterialsTest.cpp
          ${CMAKE_CURRENT_LIST_DIR}/LumoRendererTest.cpp
  LIBS lumo_indicator)
# The same widget on two offscreen screens, one of them scaled by 2.
steepo_add_test(LumoLiquidIndicatorScaleTest
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoLiquidIndicatorScaleTest.cpp
  LIBS lumo_indicator)
set_tests_properties(LumoLiquidIndicatorScaleTest PROPERTIES ENVIRONMENT
  "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_LIST_DIR}/TwoScreens.json;QT_SCREEN_SCALE_FACTORS=ratio2=2;LANG=C.UTF-8;LC_ALL=C.UTF-8")
