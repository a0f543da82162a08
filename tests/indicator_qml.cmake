# The QML item against the widget, on two offscreen screens (one scaled by 2) with Qt Quick's
# software backend; the module is imported from the build's QML directory.
if(TARGET lumo_indicator_qml)
  steepo_add_test(LumoIndicatorQmlTest
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorQmlTest.cpp
    LIBS lumo_indicator_qml lumo_indicator)
  target_compile_definitions(LumoIndicatorQmlTest PRIVATE
    LUMO_QML_IMPORT_PATH="${LUMO_INDICATOR_QML_IMPORT_PATH}"
    LUMO_QML_EXAMPLE="${PROJECT_SOURCE_DIR}/indicator/examples/qml/Clock.qml")
  set_tests_properties(LumoIndicatorQmlTest PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen:configfile=${CMAKE_CURRENT_LIST_DIR}/TwoScreens.json;QT_SCREEN_SCALE_FACTORS=ratio2=2;QT_QUICK_BACKEND=software;LANG=C.UTF-8;LC_ALL=C.UTF-8")
endif()
