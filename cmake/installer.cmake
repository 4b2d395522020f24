# The Windows Installer package pagewarden-<version>.msi beside pgwatch.exe, built with wixl
# (Debian package wixl) where it is found; cmake/msi.cmake does the work.
find_program(PW_WIXL wixl)
set(PAGEWARDEN_WATCHDOG_PROGRAM "" CACHE FILEPATH
    "The watchdog service program to put in the package (default: the one built here); the package then writes no Run value")

if(NOT PW_WIXL OR NOT TARGET pgwatch)
  message(STATUS "wixl not found: no installer package")
  return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PW_MSI_ARCH x64)
else()
  set(PW_MSI_ARCH x86)
endif()
set(PW_MSI ${CMAKE_BINARY_DIR}/pagewarden-${PROJECT_VERSION}.msi)
set(PW_MSI_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/installer/pagewarden.wxs
                   ${CMAKE_CURRENT_SOURCE_DIR}/cmake/msi.cmake
                   ${CMAKE_CURRENT_SOURCE_DIR}/cmake/sign.cmake
                   ${CMAKE_CURRENT_SOURCE_DIR}/resources/pgwatch.ico ${PW_SIGN_STAMP})
set(PW_MSI_WATCHDOG "${PAGEWARDEN_WATCHDOG_PROGRAM}")
if(NOT PW_MSI_WATCHDOG AND TARGET pgwatchsvc)
  set(PW_MSI_WATCHDOG $<TARGET_FILE:pgwatchsvc>)
  list(APPEND PW_MSI_SOURCES pgwatchsvc)
elseif(PW_MSI_WATCHDOG)
  list(APPEND PW_MSI_SOURCES ${PW_MSI_WATCHDOG})
endif()
add_custom_command(
  OUTPUT ${PW_MSI}
  COMMAND ${CMAKE_COMMAND} -DWIXL=${PW_WIXL}
          -DSOURCE=${CMAKE_CURRENT_SOURCE_DIR}/installer/pagewarden.wxs
          -DVERSION=${PROJECT_VERSION} -DPROGRAM=$<TARGET_FILE:pgwatch>
          -DICON=${CMAKE_CURRENT_SOURCE_DIR}/resources/pgwatch.ico
          -DWEBSITE=${PAGEWARDEN_WEBSITE} -DARCH=${PW_MSI_ARCH} -DOUTPUT=${PW_MSI}
          -DWATCHDOG=${PW_MSI_WATCHDOG}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/msi.cmake
  DEPENDS pgwatch ${PW_MSI_SOURCES}
  COMMENT "Packaging pagewarden-${PROJECT_VERSION}.msi"
  VERBATIM)
add_custom_target(pagewarden_msi ALL DEPENDS ${PW_MSI})
