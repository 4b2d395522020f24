# The Windows program, pgwatch.exe, and the driver of its end-to-end tests.
target_compile_definitions(pagewarden_core PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
if(MINGW)
  # One file: no runtime DLLs beside the program.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/app/main_win32.cpp)
configure_file(resources/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/version.rc @ONLY)
file(GLOB PW_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
add_executable(pgwatch WIN32 app/main_win32.cpp ${PW_WIN32_SOURCES} resources/pgwatch.rc
                              ${CMAKE_CURRENT_BINARY_DIR}/version.rc)
target_include_directories(pgwatch PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/resources)
target_link_libraries(pgwatch PRIVATE pagewarden_core user32 gdi32 shell32 advapi32 comctl32 uxtheme)
set_target_properties(pgwatch PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endif()

add_executable(pw_e2e tests/e2e/e2e_main.cpp tests/e2e/e2e_driver.cpp)
target_include_directories(pw_e2e PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(pw_e2e PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(pw_e2e PRIVATE user32 advapi32)
