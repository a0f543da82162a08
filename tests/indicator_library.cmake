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
endif()
