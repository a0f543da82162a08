# The language index and texts, the about dialog, the alarm dialog, the embedded resources and
# the desktop files.
if(TARGET steepo_resources)
  steepo_add_test(OrbDialogsTest SOURCES OrbDialogsTest.cpp LIBS steepo_common steepo_resources)

  steepo_add_test(ResourcesTest SOURCES ResourcesTest.cpp LIBS steepo_resources Qt6::Gui)
  target_compile_definitions(ResourcesTest PRIVATE STEEPO_RESOURCES_SOURCE="${PROJECT_SOURCE_DIR}/resources")

  steepo_add_test(AlarmDialogTest SOURCES AlarmDialogTest.cpp LIBS steepo_core)
  steepo_add_test(AlarmTest SOURCES AlarmTest.cpp LIBS steepo_core)

  # Validates the desktop entry and the metainfo and installs them into a scratch prefix.
  if(WIN32)
    return()
  endif()
  find_program(STEEPO_DESKTOP_FILE_VALIDATE desktop-file-validate)
  find_program(STEEPO_APPSTREAMCLI appstreamcli)
  add_test(NAME DesktopFilesTest
    COMMAND ${CMAKE_COMMAND}
      -DDESKTOP_FILE=$<TARGET_PROPERTY:steepo_resources,STEEPO_DESKTOP_FILE>
      -DMETAINFO_FILE=$<TARGET_PROPERTY:steepo_resources,STEEPO_METAINFO_FILE>
      -DAPP_ID=${STEEPO_APP_ID}
      -DDESKTOP_FILE_VALIDATE=${STEEPO_DESKTOP_FILE_VALIDATE}
      -DAPPSTREAMCLI=${STEEPO_APPSTREAMCLI}
      -DBUILD_DIR=${PROJECT_BINARY_DIR}
      -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/DesktopFilesTest
      -P ${CMAKE_CURRENT_SOURCE_DIR}/desktop/DesktopFilesTest.cmake)
endif()
