# pgwatchsvc.exe, the watchdog service, beside pgwatch.exe.
set(PW_SVC_VERSION_TEMPLATE ${CMAKE_CURRENT_SOURCE_DIR}/resources/version.rc.in)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PW_SVC_VERSION_TEMPLATE})
file(READ ${PW_SVC_VERSION_TEMPLATE} PW_SVC_VERSION_RC)
string(REPLACE "pgwatch" "pgwatchsvc" PW_SVC_VERSION_RC "${PW_SVC_VERSION_RC}")
string(REPLACE "Pagewarden web page guard" "Pagewarden Watchdog service" PW_SVC_VERSION_RC
               "${PW_SVC_VERSION_RC}")
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/pgwatchsvc_version.rc
     CONTENT "${PW_SVC_VERSION_RC}" @ONLY)

# The event log's message table, compiled by the message compiler beside the resource compiler.
string(REPLACE "windres" "windmc" PW_MC_COMPILER "${CMAKE_RC_COMPILER}")
set(PW_MC_DIR ${CMAKE_CURRENT_BINARY_DIR}/messages)
add_custom_command(
  OUTPUT ${PW_MC_DIR}/pagewarden_events.rc ${PW_MC_DIR}/MSG00409.bin
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PW_MC_DIR}
  COMMAND ${PW_MC_COMPILER} -h ${PW_MC_DIR} -r ${PW_MC_DIR}
          ${CMAKE_CURRENT_SOURCE_DIR}/service/win32/pagewarden_events.mc
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/service/win32/pagewarden_events.mc
  VERBATIM)

add_executable(pgwatchsvc
  service/win32/cng_keys.cpp
  service/win32/event_log.cpp
  service/win32/guard_security.cpp
  service/win32/owner_pipe.cpp
  service/win32/recovery_config.cpp
  service/win32/service_loop.cpp
  service/win32/service_main.cpp
  service/win32/win32_guard_host.cpp
  service/win32/record_storage.cpp
  ${PW_MC_DIR}/pagewarden_events.rc
  ${CMAKE_CURRENT_BINARY_DIR}/pgwatchsvc_version.rc)
target_compile_definitions(pgwatchsvc PRIVATE ${PW_WINDOWS_DEFINITIONS})
# The generated resource script names its message file without a folder.
target_include_directories(pgwatchsvc PRIVATE ${PW_MC_DIR})
target_link_libraries(pgwatchsvc PRIVATE pagewarden_service pagewarden_win32 advapi32 wtsapi32
                                         userenv bcrypt shell32 ole32)
set_target_properties(pgwatchsvc PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
pw_signed(pgwatchsvc "Pagewarden Watchdog")

# The driver of the watchdog's end-to-end scenarios.
add_executable(pw_watchdog_e2e tests/e2e/watchdog_e2e.cpp tests/e2e/watchdog_runner.cpp
                               tests/e2e/guard_descriptor.cpp tests/e2e/e2e_driver.cpp service/win32/recovery_config.cpp
                               service/win32/event_log.cpp platform/win32/backend/win32_text.cpp)
target_include_directories(pw_watchdog_e2e PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(pw_watchdog_e2e PRIVATE ${PW_WINDOWS_DEFINITIONS})
target_link_libraries(pw_watchdog_e2e PRIVATE pagewarden_service user32 advapi32)
set_target_properties(pw_watchdog_e2e PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
