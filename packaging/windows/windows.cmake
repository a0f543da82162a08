# Steepo's Windows packages, made on Linux from the static steepo.exe (scripts/windows --msi):
#   steepo-<version>-windows-x64.msi  a per-user Windows Installer package, made by wixl;
#   steepo-<version>-windows-x64.zip  the portable program with its licence and a read-me.
# Both land in <build>/packaging. wixl (Debian's wixl) writes the package; msibuild (msitools)
# then adds what wixl cannot say: the shortcut's AppUserModelID and an upgrade range that
# includes the package's own version.
find_program(STEEPO_WIXL wixl)
find_program(STEEPO_MSIBUILD msibuild)
if(NOT STEEPO_WIXL OR NOT STEEPO_MSIBUILD)
  message(STATUS "wixl or msibuild (msitools) not found: no Windows Installer package")
  return()
endif()

# Fixed for every version: how a newer package finds an installed one to replace.
set(STEEPO_UPGRADE_CODE "5026DCB2-E1BC-4663-BEF1-4D77B0198919")
set(STEEPO_PACKAGES_DIR "${PROJECT_BINARY_DIR}/packaging")
set(steepo_msi_sources "${CMAKE_CURRENT_LIST_DIR}")
file(MAKE_DIRECTORY "${STEEPO_PACKAGES_DIR}")

configure_file("${steepo_msi_sources}/MsiShortcutProperty.idt.in"
  "${STEEPO_PACKAGES_DIR}/MsiShortcutProperty.idt" @ONLY)

# The package of the given version, made from the same steepo.exe whatever the version (the
# tests make an older one to upgrade from). Its ProductCode follows from the version, so each
# version has its own and a rebuild keeps it.
function(steepo_add_msi target version output)
  string(UUID product_code NAMESPACE "${STEEPO_UPGRADE_CODE}" NAME "Steepo ${version}" TYPE SHA1 UPPER)
  # wixl takes only paths relative to the folder it runs in.
  file(RELATIVE_PATH icon "${PROJECT_BINARY_DIR}" "${PROJECT_SOURCE_DIR}/resources/icons/steepo.ico")
  set(upgrade "{${STEEPO_UPGRADE_CODE}}")
  add_custom_command(OUTPUT "${output}"
    COMMAND "${STEEPO_WIXL}" -a x64 -o "${output}.part"
      -D "Version=${version}" -D "ProductCode=${product_code}" -D "UpgradeCode=${STEEPO_UPGRADE_CODE}"
      -D "WebAddress=${STEEPO_WEB_ADDRESS}" -D "Icon=${icon}"
      -D "Program=$<PATH:RELATIVE_PATH,$<TARGET_FILE:steepo>,${PROJECT_BINARY_DIR}>"
      "${steepo_msi_sources}/steepo.wxs"
    COMMAND "${STEEPO_MSIBUILD}" "${output}.part" -i "${STEEPO_PACKAGES_DIR}/MsiShortcutProperty.idt"
    # An Upgrade row's attributes are part of its key, so the row is replaced, not updated:
    # 513 migrates the features and includes the maximum.
    COMMAND "${STEEPO_MSIBUILD}" "${output}.part"
      -q "DELETE FROM Upgrade WHERE ActionProperty = 'WIX_UPGRADE_DETECTED'"
      -q "INSERT INTO Upgrade (UpgradeCode, VersionMax, Attributes, ActionProperty) VALUES ('${upgrade}', '${version}', 513, 'WIX_UPGRADE_DETECTED')"
    COMMAND "${CMAKE_COMMAND}" -E rename "${output}.part" "${output}"
    DEPENDS steepo "${steepo_msi_sources}/steepo.wxs" "${STEEPO_PACKAGES_DIR}/MsiShortcutProperty.idt"
    WORKING_DIRECTORY "${PROJECT_BINARY_DIR}"
    COMMENT "Making ${output}"
    VERBATIM)
  add_custom_target(${target} DEPENDS "${output}")
  set_target_properties(${target} PROPERTIES STEEPO_PRODUCT_CODE "{${product_code}}" STEEPO_FILE "${output}")
endfunction()

set(steepo_package_name "steepo-${PROJECT_VERSION}-windows-x64")
steepo_add_msi(steepo_msi "${PROJECT_VERSION}" "${STEEPO_PACKAGES_DIR}/${steepo_package_name}.msi")

# ---- The portable zip ---------------------------------------------------------------------

# The licence text: the terms the Debian package states (its copyright file), as plain text.
file(READ "${PROJECT_SOURCE_DIR}/packaging/debian/copyright" steepo_copyright)
string(CONFIGURE "${steepo_copyright}" steepo_copyright @ONLY)
if(NOT steepo_copyright MATCHES "\nCopyright: ([^\n]+)\nLicense: [^\n]+\n(( [^\n]*\n)+)")
  message(FATAL_ERROR "packaging/debian/copyright has no Copyright and License paragraph")
endif()
set(steepo_licence_holder "${CMAKE_MATCH_1}")
string(REGEX REPLACE "(^|\n) " "\\1" steepo_licence_terms "${CMAKE_MATCH_2}")
set(steepo_zip_dir "${STEEPO_PACKAGES_DIR}/zip")
file(CONFIGURE OUTPUT "${steepo_zip_dir}/LICENCE.txt"
  CONTENT "Steepo\nCopyright ${steepo_licence_holder}\n\n${steepo_licence_terms}" NEWLINE_STYLE WIN32)
configure_file("${steepo_msi_sources}/README.txt.in" "${steepo_zip_dir}/README.txt" @ONLY NEWLINE_STYLE WIN32)

set(STEEPO_ZIP_FILE "${STEEPO_PACKAGES_DIR}/${steepo_package_name}.zip")
add_custom_command(OUTPUT "${STEEPO_ZIP_FILE}"
  COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:steepo>" "${steepo_zip_dir}/steepo.exe"
  COMMAND "${CMAKE_COMMAND}" -E tar cf "${STEEPO_ZIP_FILE}" --format=zip steepo.exe LICENCE.txt README.txt
  DEPENDS steepo "${steepo_zip_dir}/LICENCE.txt" "${steepo_zip_dir}/README.txt"
  WORKING_DIRECTORY "${steepo_zip_dir}"
  COMMENT "Making ${STEEPO_ZIP_FILE}"
  VERBATIM)
add_custom_target(steepo_zip DEPENDS "${STEEPO_ZIP_FILE}")
