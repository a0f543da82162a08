# The indicator as a library for Qt developers: change signals, size hints and layouts; the
# Qt Designer plugin loaded from its file.
steepo_add_test(LumoIndicatorQtConventionsTest
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorQtConventionsTest.cpp
  LIBS lumo_indicator)
if(TARGET lumo_indicator_designer)
  find_package(Qt6 REQUIRED COMPONENTS UiPlugin Xml)
  steepo_add_test(LumoIndicatorDesignerPluginTest
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorDesignerPluginTest.cpp
    LIBS Qt6::UiPlugin Qt6::Xml)
  target_compile_definitions(LumoIndicatorDesignerPluginTest PRIVATE
    LUMO_DESIGNER_PLUGIN="$<TARGET_FILE:lumo_indicator_designer>")
  add_dependencies(LumoIndicatorDesignerPluginTest lumo_indicator_designer)
  # Designer's own form editor with the plugin: what a saved form holds. Its library is taken
  # as a file: the package's CMake target also wants the private headers, which the test
  # does not use.
  find_package(Qt6 REQUIRED COMPONENTS Designer UiTools)
  find_library(LUMO_DESIGNER_COMPONENTS NAMES Qt6DesignerComponents REQUIRED)
  steepo_add_test(LumoIndicatorDesignerFormTest
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorDesignerFormTest.cpp
    LIBS Qt6::Designer ${LUMO_DESIGNER_COMPONENTS} Qt6::Xml Qt6::UiTools)
  target_compile_definitions(LumoIndicatorDesignerFormTest PRIVATE
    LUMO_DESIGNER_PLUGIN="$<TARGET_FILE:lumo_indicator_designer>"
    LUMO_COLOUR_FORM="${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorColourForm.ui")
  add_dependencies(LumoIndicatorDesignerFormTest lumo_indicator_designer)
endif()

# What a screen reader sees, with Qt's real accessibility bridge on a private X server and
# session bus (Qt delivers accessibility events only while a bridge is active): Linux's bridge.
if(WIN32)
  return()
endif()
add_executable(LumoIndicatorAccessibilityTest ${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorAccessibilityTest.cpp)
target_link_libraries(LumoIndicatorAccessibilityTest PRIVATE steepo_test_main lumo_indicator)
add_test(NAME LumoIndicatorAccessibilityTest
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/library/WithAccessibilityBus.sh $<TARGET_FILE:LumoIndicatorAccessibilityTest>)
set_tests_properties(LumoIndicatorAccessibilityTest PROPERTIES ENVIRONMENT "LANG=C.UTF-8;LC_ALL=C.UTF-8" TIMEOUT 120)

# The example program, built against a scratch install through find_package and with the
# indicator's sources through add_subdirectory, each time checking itself when run (on the
# machine that builds it).
if(CMAKE_CROSSCOMPILING)
  return()
endif()
foreach(mode package subdirectory)
  add_test(NAME LumoIndicatorConsumer_${mode}
    COMMAND ${CMAKE_COMMAND} -DMODE=${mode} -DINDICATOR_DIR=${PROJECT_SOURCE_DIR}/indicator
            -DWORK=${CMAKE_CURRENT_BINARY_DIR}/consumer-${mode} -DCXX=${CMAKE_CXX_COMPILER}
            -DLAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER} -P ${CMAKE_CURRENT_LIST_DIR}/library/ConsumeIndicator.cmake)
  set_tests_properties(LumoIndicatorConsumer_${mode} PROPERTIES TIMEOUT 900)
endforeach()

# A form with the colours as Designer saves them, compiled by uic and loaded by QUiLoader.
find_package(Qt6 QUIET COMPONENTS UiTools)
if(TARGET Qt6::UiTools)
  steepo_add_test(LumoIndicatorColourFormTest
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorColourFormTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorColourForm.ui
            ${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorSchemeForm.ui
    LIBS lumo_indicator Qt6::UiTools)
  target_compile_definitions(LumoIndicatorColourFormTest PRIVATE
    LUMO_COLOUR_FORM="${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorColourForm.ui"
    LUMO_SCHEME_FORM="${CMAKE_CURRENT_LIST_DIR}/LumoIndicatorSchemeForm.ui")
  if(TARGET lumo_indicator_designer)
    target_compile_definitions(LumoIndicatorColourFormTest PRIVATE
      LUMO_DESIGNER_PLUGIN="$<TARGET_FILE:lumo_indicator_designer>")
    add_dependencies(LumoIndicatorColourFormTest lumo_indicator_designer)
  endif()
endif()
