# The indicator's pure geometry: point lists, bevels, colours and bytes, character patterns,
# glyph shapes and the layout of a whole indicator. Links the geometry library only.
steepo_add_test(LumoGeometryTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoGeometryTest.cpp LIBS lumo_geometry)
steepo_add_test(LumoPatternsTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoPatternsTest.cpp LIBS lumo_geometry)
steepo_add_test(LumoGlyphTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoGlyphTest.cpp LIBS lumo_geometry)
steepo_add_test(LumoLayoutTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/LumoLayoutTest.cpp LIBS lumo_geometry)
