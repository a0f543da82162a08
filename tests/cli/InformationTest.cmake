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
# In the language of the system, as the window's texts.
set(ENV{LANG} de_DE.UTF-8)
set(ENV{LC_ALL} de_DE.UTF-8)
run(0 "^Aufruf: steepo .*-start.*gespeichert in" "^$" --help)
set(ENV{LANG} C.UTF-8)
set(ENV{LC_ALL} C.UTF-8)

# A failed write says so, as the shell's own tools do.
foreach(request --help --version)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C --unset=DISPLAY --unset=WAYLAND_DISPLAY ${PROGRAM} ${request}
    OUTPUT_FILE /dev/full RESULT_VARIABLE status ERROR_VARIABLE err TIMEOUT 60)
  if(NOT status STREQUAL "1" OR NOT err STREQUAL "steepo: write error: No space left on device\n")
    message(FATAL_ERROR "steepo ${request} >/dev/full: status ${status}\nstderr:\n${err}")
  endif()
endforeach()
