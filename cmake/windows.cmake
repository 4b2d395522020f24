# The Windows program pgwatch.exe, the smoke tests of its platform backends and the driver of
# its end-to-end tests. Works with mingw-w64 (cross or native) and with Visual Studio.
set(PW_WINDOWS_DEFINITIONS WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
get_property(PW_LAYERS GLOBAL PROPERTY PW_LAYERS)
foreach(layer ${PW_LAYERS})
  target_compile_definitions(${layer} PUBLIC ${PW_WINDOWS_DEFINITIONS})
endforeach()

# One file: no runtime libraries beside the program.
if(MINGW)
  add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release,MinSizeRel>:-s>)
elseif(MSVC)
  set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  # The layers were defined before this file was read.
  set_property(TARGET ${PW_LAYERS} PROPERTY MSVC_RUNTIME_LIBRARY ${CMAKE_MSVC_RUNTIME_LIBRARY})
endif()

# The backends of the platform interfaces: registry, window system, shell, input, process and
# foreground change reports.
file(GLOB PW_WIN32_BACKEND_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_SOURCE_DIR}/platform/win32/backend/*.cpp)
add_library(pagewarden_win32 STATIC ${PW_WIN32_BACKEND_SOURCES})
target_include_directories(pagewarden_win32 PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(pagewarden_win32 PUBLIC ${PW_WINDOWS_DEFINITIONS})
target_link_libraries(pagewarden_win32 PUBLIC pagewarden_owner advapi32 user32 shell32 ole32 normaliz
                                              comdlg32)

# Resources: the version block comes from the project version.
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/resources/version.rc.in
               ${CMAKE_CURRENT_BINARY_DIR}/version.rc @ONLY)

# The native views of the forms.
file(GLOB PW_WIN32_VIEW_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_SOURCE_DIR}/platform/win32/views/*.cpp)
add_executable(pgwatch WIN32 app/main_win32.cpp ${PW_WIN32_VIEW_SOURCES} resources/pgwatch.rc
                              ${CMAKE_CURRENT_BINARY_DIR}/version.rc)
set_target_properties(pgwatch PROPERTIES OUTPUT_NAME pgwatch
                                         RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# The resource script finds its pictures and the shared identifiers beside itself.
target_include_directories(pgwatch PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/resources)
target_link_libraries(pgwatch PRIVATE pagewarden_core pagewarden_win32 gdi32 comctl32 uxtheme)
if(MSVC)
  # The resource script carries the manifest; the linker must not add a second one.
  target_link_options(pgwatch PRIVATE /MANIFEST:NO)
endif()

# Smoke tests of the backends against a real (or Wine's) Windows: they print "N passed,
# M failed" and exit non-zero on a failure. The desktop one needs a display.
add_executable(pw_registry_smoke tests/e2e/registry_smoke.cpp)
target_link_libraries(pw_registry_smoke PRIVATE pagewarden_core pagewarden_win32)
add_executable(pw_desktop_smoke tests/e2e/desktop_smoke.cpp)
target_link_libraries(pw_desktop_smoke PRIVATE pagewarden_win32)
# The shared cases of matching, against Windows' own text rules.
add_executable(pw_text_smoke tests/e2e/text_smoke.cpp)
target_link_libraries(pw_text_smoke PRIVATE pagewarden_win32)
set_target_properties(pw_registry_smoke pw_desktop_smoke pw_text_smoke PROPERTIES
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_executable(pw_e2e tests/e2e/e2e_main.cpp tests/e2e/e2e_driver.cpp tests/e2e/e2e_measure.cpp
                      tests/e2e/e2e_tour.cpp tests/e2e/e2e_installer.cpp tests/e2e/e2e_hands.cpp
                      tests/e2e/e2e_measure_lists.cpp tests/e2e/e2e_setup_scenarios.cpp
                      tests/e2e/e2e_program_scenarios.cpp tests/e2e/e2e_held_prompt.cpp
                      tests/e2e/e2e_hung.cpp
                      tests/e2e/e2e_soak.cpp tests/e2e/e2e_owner.cpp tests/e2e/e2e_history.cpp
                      tests/e2e/e2e_unicode_scenarios.cpp platform/win32/backend/win32_text.cpp
                      history/entry.cpp history/record_file.cpp owner/protocol.cpp)
target_include_directories(pw_e2e PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(pw_e2e PRIVATE ${PW_WINDOWS_DEFINITIONS})
target_link_libraries(pw_e2e PRIVATE user32 advapi32 gdi32 shell32 ole32 uuid psapi)

# Signing: cmake/sign.cmake signs each program after it is linked when the environment gives a
# certificate. A stamp of which certificate relinks the programs, so they are signed again, when
# it changes (from none to one, or to another one).
set(PW_SIGN_STAMP ${CMAKE_BINARY_DIR}/signing.txt)
add_custom_target(pagewarden_signing
  COMMAND ${CMAKE_COMMAND} -DSTAMP=${PW_SIGN_STAMP} -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/sign.cmake
  BYPRODUCTS ${PW_SIGN_STAMP}
  VERBATIM)
function(pw_signed target description)
  add_dependencies(${target} pagewarden_signing)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PW_SIGN_STAMP})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:${target}> -DDESCRIPTION=${description}
            -DWEBSITE=${PAGEWARDEN_WEBSITE} -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/sign.cmake
    VERBATIM)
endfunction()
pw_signed(pgwatch "Pagewarden")

# The watchdog service first: the package may carry it.
include(cmake/service.cmake)
include(cmake/installer.cmake)
