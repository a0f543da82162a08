# Builds and runs the indicator's example program as another project would use the indicator:
#   MODE=package       build the indicator alone (a shared library), install it into a scratch
#                      prefix, check what was installed (the SONAME among it), build a C++17
#                      program through pkg-config, then the example through find_package;
#   MODE=subdirectory  build the example with the indicator's sources through add_subdirectory.
# Run with cmake -P; needs MODE, INDICATOR_DIR, WORK and CXX (LAUNCHER is optional).
cmake_minimum_required(VERSION 3.25)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN}\n${output}")
  endif()
endfunction()

# The shared library carries the SONAME of its major version, and a C++17 program built with
# pkg-config's flags alone runs against it.
function(check_shared_library prefix)
  file(GLOB pc ${prefix}/lib*/pkgconfig/LumoIndicator.pc)
  if(NOT pc)
    message(FATAL_ERROR "not installed: LumoIndicator.pc")
  endif()
  get_filename_component(pcdir ${pc} DIRECTORY)
  get_filename_component(libdir ${pcdir} DIRECTORY)
  set(ENV{PKG_CONFIG_PATH} ${pcdir})
  execute_process(COMMAND pkg-config --modversion LumoIndicator OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE)
  execute_process(COMMAND pkg-config --cflags --libs LumoIndicator OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REGEX MATCH "^[0-9]+" major "${version}")
  execute_process(COMMAND readelf -d ${libdir}/liblumo-indicator.so OUTPUT_VARIABLE dynamic)
  if(NOT major OR NOT dynamic MATCHES "Library soname: \\[liblumo-indicator\\.so\\.${major}\\]")
    message(FATAL_ERROR "version '${version}', SONAME not liblumo-indicator.so.${major}:\n${dynamic}")
  endif()
  separate_arguments(flags UNIX_COMMAND "${flags}")
  run(${LAUNCHER} ${CXX} -std=c++17 -fPIC "-DEXPECTED_VERSION=\"${version}\"" ${CMAKE_CURRENT_LIST_DIR}/PkgConfigConsumer.cpp
      -o ${WORK}/pkgconfig-consumer ${flags} -Wl,-rpath,${libdir})
  run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${WORK}/pkgconfig-consumer)
endfunction()

# No optimisation and no debug information: the quickest build that shows the package works.
set(common -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_COMPILER=${CXX} -DLUMO_INDICATOR_BUILD_GALLERY=OFF
    -DCMAKE_EXPORT_COMPILE_COMMANDS=ON)
if(LAUNCHER)
  list(APPEND common -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()
file(REMOVE_RECURSE ${WORK})

if(MODE STREQUAL "package")
  set(prefix ${WORK}/prefix)
  run(${CMAKE_COMMAND} -S ${INDICATOR_DIR} -B ${WORK}/indicator ${common} -DCMAKE_INSTALL_PREFIX=${prefix})
  run(${CMAKE_COMMAND} --build ${WORK}/indicator)
  run(${CMAKE_COMMAND} --install ${WORK}/indicator)
  foreach(file include/LumoIndicator/LumoLiquidIndicator.h include/LumoIndicator/LumoTypes.h include/LumoIndicator/LumoIndicatorVersion.h
               include/LumoIndicator/LumoIndicatorExport.h)
    if(NOT EXISTS ${prefix}/${file})
      message(FATAL_ERROR "not installed: ${file}")
    endif()
  endforeach()
  file(GLOB_RECURSE private_headers ${prefix}/*_p.h ${prefix}/*LumoRenderer* ${prefix}/*LumoGeometry*)
  file(GLOB config ${prefix}/lib*/cmake/LumoIndicator/LumoIndicatorConfigVersion.cmake)
  file(GLOB plugin ${prefix}/lib*/qt6/plugins/designer/*lumoindicatorplugin*)
  if(private_headers OR NOT config OR NOT plugin)
    message(FATAL_ERROR "installed private headers '${private_headers}', package '${config}', plugin '${plugin}'")
  endif()
  check_shared_library(${prefix})
  # The QML module, where Qt Quick was there to build it, imported from the prefix.
  file(GLOB qml_dir ${prefix}/lib*/qt6/qml)
  find_program(qml_tool qml HINTS /usr/lib/qt6/bin)
  if(qml_dir AND qml_tool)
    run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
        ${qml_tool} -I ${qml_dir} ${CMAKE_CURRENT_LIST_DIR}/ImportIndicator.qml)
  endif()
  run(${CMAKE_COMMAND} -S ${INDICATOR_DIR}/example -B ${WORK}/example ${common} -DCMAKE_PREFIX_PATH=${prefix})
elseif(MODE STREQUAL "subdirectory")
  run(${CMAKE_COMMAND} -S ${INDICATOR_DIR}/example -B ${WORK}/example ${common} -DLUMO_INDICATOR_SOURCE_DIR=${INDICATOR_DIR})
else()
  message(FATAL_ERROR "MODE is package or subdirectory")
endif()
run(${CMAKE_COMMAND} --build ${WORK}/example)
# The example asks for C++17 and gets it: the indicator forces no later standard on it.
file(READ ${WORK}/example/compile_commands.json commands)
if(NOT commands MATCHES "-std=c\\+\\+17 [^\n]*example/main\\.cpp" OR commands MATCHES "-std=(c|gnu)\\+\\+2[0a][^\n]*example/main\\.cpp")
  message(FATAL_ERROR "the example is not compiled as C++17:\n${commands}")
endif()
if(MODE STREQUAL "subdirectory")
  file(GLOB plugin ${WORK}/example/lumo-indicator/designer/*lumoindicatorplugin*)
endif()
run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${WORK}/example/lumo-example --check ${plugin})
