# --help, -h and --version answer on standard output and leave with status 0 where there is no
# display at all.
function(run expected_status expected_out expected_err)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
            ${PROGRAM} ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  if(NOT status STREQUAL expected_status OR NOT out MATCHES "${expected_out}" OR NOT err MATCHES "${expected_err}")
    message(FATAL_ERROR "steepo ${ARGN}: status ${status}\nstdout:\n${out}\nstderr:\n${err}")
  endif()
endfunction()

string(REPLACE "." "\\." version "${VERSION}")
run(0 "^Steepo ${version}\n$" "^$" --version)
run(0 "^Usage: steepo .*-start.*Steepo\\.conf" "^$" --help)
run(0 "^Usage: steepo" "^$" 3:00 -start -h)

# A failed write says so, as the shell's own tools do.
foreach(request --help --version)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C --unset=DISPLAY --unset=WAYLAND_DISPLAY ${PROGRAM} ${request}
    OUTPUT_FILE /dev/full RESULT_VARIABLE status ERROR_VARIABLE err TIMEOUT 60)
  if(NOT status STREQUAL "1" OR NOT err STREQUAL "steepo: write error: No space left on device\n")
    message(FATAL_ERROR "steepo ${request} >/dev/full: status ${status}\nstderr:\n${err}")
  endif()
endforeach()
