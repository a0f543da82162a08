# Windows only: the packages. Their tables as Windows Installer reads them (msiinfo) and the
# zip's files; then, under Wine, a silent install, an upgrade from an older version and a
# silent uninstall. The older package holds the same steepo.exe under a lower version, so it
# costs no second build.
if(NOT WIN32 OR NOT TARGET steepo_msi)
  return()
endif()
find_program(STEEPO_MSIINFO msiinfo REQUIRED)

# One lower in the version's last part: builds that differ only there must still replace each
# other, which Windows Installer does not do by itself.
math(EXPR steepo_older_tweak "${PROJECT_VERSION_TWEAK} - 1")
set(steepo_older_version
  "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${steepo_older_tweak}")
steepo_add_msi(steepo_msi_older "${steepo_older_version}"
  "${STEEPO_PACKAGES_DIR}/steepo-${steepo_older_version}-windows-x64.msi")
add_custom_target(steepo_test_packages ALL DEPENDS steepo_msi steepo_msi_older steepo_zip)

get_target_property(steepo_msi_file steepo_msi STEEPO_FILE)
get_target_property(steepo_older_msi_file steepo_msi_older STEEPO_FILE)
set(steepo_package_definitions
  -DMSI=${steepo_msi_file} -DOLDER_MSI=${steepo_older_msi_file}
  -DVERSION=${PROJECT_VERSION} -DOLDER_VERSION=${steepo_older_version}
  -DWEB_ADDRESS=${STEEPO_WEB_ADDRESS} -DAPP_USER_MODEL_ID=${STEEPO_APP_USER_MODEL_ID}
  -DUPGRADE_CODE=${STEEPO_UPGRADE_CODE})

add_test(NAME WindowsPackagesTest
  COMMAND ${CMAKE_COMMAND} ${steepo_package_definitions} -DMSIINFO=${STEEPO_MSIINFO} -DZIP=${STEEPO_ZIP_FILE}
          -P ${CMAKE_CURRENT_LIST_DIR}/installer/WindowsPackagesTest.cmake)
add_test(NAME MsiInstallTest
  COMMAND ${CMAKE_COMMAND} ${steepo_package_definitions} -DMSIINFO=${STEEPO_MSIINFO}
          -DWINE_RUN=${CMAKE_CROSSCOMPILING_EMULATOR}
          -P ${CMAKE_CURRENT_LIST_DIR}/installer/MsiInstallTest.cmake)
set_tests_properties(MsiInstallTest PROPERTIES TIMEOUT 300)
