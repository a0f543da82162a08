# Builds and runs the indicator's example program as another project would use the indicator:
#   MODE=package       install the library built alone (shared; the build in BUILD, or one made
#                      here) into a folder other than its configured prefix, check what was
#                      installed, load its Designer plugin (every symbol resolved, and in
#                      Designer itself where that is installed), build a C++17 program through
#                      pkg-config, import the QML module, then build the example through
#                      find_package;
#   MODE=subdirectory  build the example with the indicator's sources through add_subdirectory.
# Run with cmake -P; needs MODE, INDICATOR_DIR, WORK and CXX (BUILD and LAUNCHER are optional).
cmake_minimum_required(VERSION 3.25)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN}\n${output}")
  endif()
endfunction()

# Exactly the public headers are installed, and nothing of what the library keeps to itself.
function(check_installed prefix)
  file(GLOB headers RELATIVE ${prefix}/include/LumoIndicator ${prefix}/include/LumoIndicator/*)
  list(SORT headers)
  set(expected LumoIndicatorExport.h LumoIndicatorVersion.h LumoLiquidIndicator.h LumoTypes.h)
  file(GLOB_RECURSE private ${prefix}/*_p.h ${prefix}/*LumoRenderer* ${prefix}/*LumoGeometry*)
  file(GLOB internal_libraries ${prefix}/lib*/liblumo-indicator-*)
  list(APPEND private ${internal_libraries})
  file(GLOB targets ${prefix}/lib*/cmake/LumoIndicator/LumoIndicatorTargets.cmake)
  file(READ ${targets} exported)
  file(GLOB plugin ${prefix}/lib*/qt6/plugins/designer/*lumoindicatorplugin*)
  if(NOT headers STREQUAL expected OR private OR exported MATCHES "Lumo::(Renderer|Geometry)" OR NOT plugin)
    message(FATAL_ERROR "installed headers '${headers}', private files '${private}', plugin '${plugin}'")
  endif()
  message(STATUS "installed headers: ${headers}")
  set(plugin ${plugin} PARENT_SCOPE)
endfunction()

# The Designer plugin needs nothing the library does not export: the dynamic linker resolves
# every symbol, and Designer itself starts with it offscreen and stays up.
function(check_plugin prefix plugin)
  execute_process(COMMAND ldd -r ${plugin} OUTPUT_VARIABLE linked ERROR_VARIABLE linked)
  if(linked MATCHES "undefined symbol|not found")
    message(FATAL_ERROR "ldd -r ${plugin}:\n${linked}")
  endif()
  find_program(designer designer HINTS /usr/lib/qt6/bin)
  if(designer)
    file(GLOB plugins ${prefix}/lib*/qt6/plugins)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH=${plugins}
                            HOME=${WORK}/home ${designer}
                    TIMEOUT 8 RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result MATCHES "timeout")
      message(FATAL_ERROR "Designer ended with the plugin (${result}):\n${output}")
    endif()
  endif()
endfunction()

# The pkg-config file names the moved prefix, a C++17 program built with its flags alone runs
# against the shared library, whose SONAME carries the major version.
function(check_pkgconfig prefix)
  file(GLOB pc ${prefix}/lib*/pkgconfig/LumoIndicator.pc)
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
  execute_process(COMMAND pkg-config --variable=includedir LumoIndicator OUTPUT_VARIABLE include
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_DIRECTORY "${include}/LumoIndicator" OR NOT include MATCHES "^${prefix}/")
    message(FATAL_ERROR "LumoIndicator.pc names '${include}', not the moved prefix ${prefix}")
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
  if(NOT BUILD)
    set(BUILD ${WORK}/indicator)
    run(${CMAKE_COMMAND} -S ${INDICATOR_DIR} -B ${BUILD} ${common} -DCMAKE_INSTALL_PREFIX=${WORK}/configured)
    run(${CMAKE_COMMAND} --build ${BUILD})
  endif()
  set(prefix ${WORK}/moved)
  run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})
  check_installed(${prefix})
  check_plugin(${prefix} ${plugin})
  check_pkgconfig(${prefix})
  # Installed with DESTDIR, the package file names the folder it was put in as well.
  run(${CMAKE_COMMAND} -E env DESTDIR=${WORK}/staged ${CMAKE_COMMAND} --install ${BUILD})
  file(GLOB_RECURSE staged_pc ${WORK}/staged/*/LumoIndicator.pc)
  execute_process(COMMAND pkg-config --variable=includedir ${staged_pc} OUTPUT_VARIABLE staged_include
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_DIRECTORY "${staged_include}/LumoIndicator" OR NOT staged_include MATCHES "^${WORK}/staged/")
    message(FATAL_ERROR "the staged LumoIndicator.pc names '${staged_include}'")
  endif()
  # The QML module, where Qt Quick was there to build it, imported from the prefix.
  file(GLOB qml_dir ${prefix}/lib*/qt6/qml)
  find_program(qml_tool qml HINTS /usr/lib/qt6/bin)
  if(qml_dir AND qml_tool)
    run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
        ${qml_tool} -I ${qml_dir} ${CMAKE_CURRENT_LIST_DIR}/ImportIndicator.qml)
  endif()
  run(${CMAKE_COMMAND} -S ${INDICATOR_DIR}/examples/widget -B ${WORK}/example ${common} -DCMAKE_PREFIX_PATH=${prefix})
elseif(MODE STREQUAL "subdirectory")
  run(${CMAKE_COMMAND} -S ${INDICATOR_DIR}/examples/widget -B ${WORK}/example ${common} -DLUMO_INDICATOR_SOURCE_DIR=${INDICATOR_DIR})
else()
  message(FATAL_ERROR "MODE is package or subdirectory")
endif()
run(${CMAKE_COMMAND} --build ${WORK}/example)
# The example asks for C++17 and gets it: the indicator forces no later standard on it.
file(READ ${WORK}/example/compile_commands.json commands)
if(NOT commands MATCHES "-std=c\\+\\+17 [^\n]*example[^\n]*main\\.cpp" OR commands MATCHES "-std=(c|gnu)\\+\\+2[0a][^\n]*examples/widget/main\\.cpp")
  message(FATAL_ERROR "the example is not compiled as C++17:\n${commands}")
endif()
if(MODE STREQUAL "subdirectory")
  file(GLOB plugin ${WORK}/example/lumo-indicator/designer/*lumoindicatorplugin*)
endif()
run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${WORK}/example/lumo-example --check ${plugin})
