# Checks the desktop integration: the desktop entry and the AppStream metainfo pass their
# validators and name the application id, and installing puts every file where the desktop
# looks for it. Run by ctest as a script (cmake -P) with the paths as definitions.
foreach(tool DESKTOP_FILE_VALIDATE APPSTREAMCLI)
  if(NOT ${tool})
    message(FATAL_ERROR "${tool} is missing: install the Debian packages desktop-file-utils and appstream")
  endif()
endforeach()

execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} ${DESKTOP_FILE}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT output STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate ${DESKTOP_FILE}:\n${output}")
endif()

execute_process(COMMAND ${APPSTREAMCLI} validate --strict --no-net ${METAINFO_FILE}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate ${METAINFO_FILE}:\n${output}")
endif()

# The window manager matches the window to its entry by the application id, so every file
# must name the same one.
file(STRINGS ${DESKTOP_FILE} icon_line REGEX "^Icon=")
if(NOT icon_line STREQUAL "Icon=${APP_ID}")
  message(FATAL_ERROR "the desktop entry's icon is '${icon_line}', not the application id ${APP_ID}")
endif()
file(READ ${METAINFO_FILE} metainfo)
foreach(expected "<id>${APP_ID}</id>" "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>")
  string(FIND "${metainfo}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the metainfo lacks ${expected}")
  endif()
endforeach()

file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --component desktop --prefix ${SCRATCH}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()
set(expected_files
  share/applications/${APP_ID}.desktop
  share/metainfo/${APP_ID}.metainfo.xml
  share/icons/hicolor/scalable/apps/${APP_ID}.svg)
foreach(size 256 128 96 72 64 48 32 24 16)
  list(APPEND expected_files share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(relative IN LISTS expected_files)
  if(NOT EXISTS ${SCRATCH}/${relative})
    message(FATAL_ERROR "not installed: ${relative}")
  endif()
endforeach()
file(REMOVE_RECURSE ${SCRATCH})
message(STATUS "desktop entry, metainfo and icons valid and installed")
