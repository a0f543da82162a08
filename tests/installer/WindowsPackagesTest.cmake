# The packages as Windows reads them: the MSI's tables, exported by msiinfo, and the zip's files.
set(failures "")

function(export_table msi table out)
  execute_process(COMMAND ${MSIINFO} export ${msi} ${table}
    OUTPUT_VARIABLE text ERROR_VARIABLE error RESULT_VARIABLE status)
  string(REPLACE "\r" "" text "${text}")
  set(${out} "\n${text}\n" PARENT_SCOPE)
endfunction()

# One row: a line of the table that begins with line (tab-separated columns), or, with FORBID,
# no line that begins so.
function(row table line)
  cmake_parse_arguments(R "FORBID" "MSI" "" ${ARGN})
  if(NOT R_MSI)
    set(R_MSI ${MSI})
  endif()
  export_table(${R_MSI} ${table} text)
  string(FIND "${text}" "\n${line}" at)
  if(at EQUAL -1 AND NOT R_FORBID)
    set(verdict "has no line")
  elseif(NOT at EQUAL -1 AND R_FORBID)
    set(verdict "should have no line")
  else()
    return()
  endif()
  string(REPLACE "\t" "<TAB>" shown "${line}")
  set(failures "${failures}\n${R_MSI} ${table} ${verdict} ${shown}:${text}" PARENT_SCOPE)
endfunction()

set(upgrade_code "{${UPGRADE_CODE}}")
# Compressed, and no elevation needed (word count 2 + 8); no ALLUSERS: for the user alone.
row(_SummaryInformation "15\t10\n")
row(Property "ALLUSERS\t" FORBID)
# "Apps & features".
row(Property "ProductName\tSteepo\n")
row(Property "Manufacturer\tVarnak\n")
row(Property "ProductVersion\t${VERSION}\n")
row(Property "ARPURLINFOABOUT\t${WEB_ADDRESS}\n")
row(Property "ARPPRODUCTICON\tsteepo.ico\n")
row(Icon "steepo.ico\t")
# %LOCALAPPDATA%\Programs\Steepo, a shortcut in the Start menu with its identity.
row(Directory "INSTALLDIR\tLocalProgramsFolder\tSteepo\n")
row(Directory "LocalProgramsFolder\tLocalAppDataFolder\tPrograms\n")
row(Shortcut "Steepo\tProgramMenuFolder\tSteepo\tStartMenuShortcut\t[#steepo.exe]\t\tA tea timer\t\tsteepo.ico\t")
row(MsiShortcutProperty "AppUserModelID\tSteepo\t{9F4C2855-9F79-4B39-A8D0-E1D42DE1D5F3}, 5\t${APP_USER_MODEL_ID}\n")
# The same upgrade code for both versions, each replacing everything up to itself included,
# and a newer installed version refused.
foreach(package IN ITEMS "${MSI}|${VERSION}" "${OLDER_MSI}|${OLDER_VERSION}")
  string(REPLACE "|" ";" package "${package}")
  list(GET package 0 msi)
  list(GET package 1 version)
  row(Property "UpgradeCode\t${upgrade_code}\n" MSI ${msi})
  row(Upgrade "${upgrade_code}\t\t${version}\t\t513\t\tWIX_UPGRADE_DETECTED\n" MSI ${msi})
  row(Upgrade "${upgrade_code}\t${version}\t\t\t2\t\tWIX_DOWNGRADE_DETECTED\n" MSI ${msi})
endforeach()
row(LaunchCondition "NOT WIX_DOWNGRADE_DETECTED\t")
# A ProductCode of its own for each version.
export_table(${MSI} Property current)
export_table(${OLDER_MSI} Property older)
string(REGEX MATCH "\nProductCode\t[^\n]+" current_code "${current}")
string(REGEX MATCH "\nProductCode\t[^\n]+" older_code "${older}")
if(NOT current_code OR current_code STREQUAL older_code)
  set(failures "${failures}\nthe same or no ProductCode for both versions: ${current_code}")
endif()

# The zip: the program, its licence and its read-me, nothing else.
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${ZIP} OUTPUT_VARIABLE entries RESULT_VARIABLE status)
string(STRIP "${entries}" entries)
string(REPLACE "\n" ";" entries "${entries}")
list(SORT entries)
if(NOT status EQUAL 0 OR NOT entries STREQUAL "LICENCE.txt;README.txt;steepo.exe")
  set(failures "${failures}\n${ZIP}: ${entries}")
endif()

if(failures)
  message(FATAL_ERROR "${failures}")
endif()
