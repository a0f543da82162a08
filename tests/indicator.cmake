# The indicator library's own tests live with it (indicator/autotests); the program's build
# builds and runs them as its own.
add_subdirectory(${PROJECT_SOURCE_DIR}/indicator/autotests ${CMAKE_CURRENT_BINARY_DIR}/indicator)
