# Builds the Windows Installer package of pgwatch.exe with wixl (script mode, so that a package
# of any version can be made from a built program):
#
#   cmake -DWIXL=wixl -DSOURCE=installer/pagewarden.wxs -DVERSION=1.0.2 -DPROGRAM=pgwatch.exe
#         -DICON=resources/pgwatch.ico -DWEBSITE=https://... -DARCH=x86 -DOUTPUT=pagewarden.msi
#         [-DWATCHDOG=pgwatchsvc.exe] -P cmake/msi.cmake
#
# With WATCHDOG the package carries the watchdog service, which starts the guard in every session;
# it then writes no Run value. The package is signed as cmake/sign.cmake says (a certificate from
# the environment), and so are the programs it carries when the build signed them.
foreach(name WIXL SOURCE VERSION PROGRAM ICON WEBSITE ARCH OUTPUT)
  if(NOT DEFINED ${name} OR "${${name}}" STREQUAL "")
    message(FATAL_ERROR "msi.cmake: ${name} is not set")
  endif()
endforeach()

# One product code per version: installing a package of the same version again finds it
# installed instead of adding a second copy; a later version replaces it (major upgrade).
string(UUID product_code NAMESPACE 1A5AD315-257F-44A2-9C7E-F05CB98B4FF9
       NAME "Pagewarden ${VERSION} ${ARCH}" TYPE SHA1 UPPER)

# wixl takes source files relative to its working folder only.
get_filename_component(output "${OUTPUT}" ABSOLUTE)
set(stage "${output}.files")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}")
file(COPY_FILE "${PROGRAM}" "${stage}/pgwatch.exe")
file(COPY_FILE "${ICON}" "${stage}/pagewarden.ico")
set(defines -D "Version=${VERSION}" -D "ProductCode=${product_code}" -D "ProgramFile=pgwatch.exe"
            -D "IconFile=pagewarden.ico" -D "Website=${WEBSITE}")
if(ARCH STREQUAL "x64")
  list(APPEND defines -D "ProgramFilesDir=ProgramFiles64Folder" -D "SystemDir=System64Folder")
else()
  list(APPEND defines -D "ProgramFilesDir=ProgramFilesFolder" -D "SystemDir=SystemFolder")
endif()
if(DEFINED WATCHDOG AND NOT WATCHDOG STREQUAL "")
  file(COPY_FILE "${WATCHDOG}" "${stage}/pgwatchsvc.exe")
  list(APPEND defines -D "WatchdogProgram=pgwatchsvc.exe")
endif()

get_filename_component(source "${SOURCE}" ABSOLUTE)
execute_process(COMMAND "${WIXL}" -a "${ARCH}" ${defines} -o "${output}" "${source}"
                WORKING_DIRECTORY "${stage}" RESULT_VARIABLE result ERROR_VARIABLE errors)
# wixl reports some mistakes only as warnings and still writes a package.
if(NOT result EQUAL 0 OR errors MATCHES "WARNING|CRITICAL|rror")
  file(REMOVE "${output}")
  message(FATAL_ERROR "wixl failed:\n${errors}")
endif()
file(REMOVE_RECURSE "${stage}")

include(${CMAKE_CURRENT_LIST_DIR}/sign.cmake)
pw_sign("${output}" "Pagewarden ${VERSION}" "${WEBSITE}")
