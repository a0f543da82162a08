# The teas: their checks, times and store, and their dialogs.
steepo_add_test(TeasTest SOURCES TeasTest.cpp LIBS steepo_core)
