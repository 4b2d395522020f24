#pragma once

namespace pw {

// The names other programs, the installer, Group Policy and the watchdog know the program by.
inline constexpr const char* kProductName = "Pagewarden";
inline constexpr const wchar_t* kProductNameW = L"Pagewarden";  // also the event log's source
inline constexpr const char* kGuardProgram = "pgwatch.exe";
inline constexpr const char* kServiceName = "PagewardenWatchdog";
inline constexpr const wchar_t* kServiceNameW = L"PagewardenWatchdog";

// The program's pictures, by their resource names.
inline constexpr const char* kProgramIcon = "IDI_PROGRAM";
inline constexpr const char* kWizardPicture = "IDB_WIZARD";

}  // namespace pw
