#pragma once

#include <windows.h>

#include <string>

namespace pw::win32 {

// The system's text for an error code, on one line.
std::string ErrorText(DWORD error);

// A failure the program handled or gave up on, written where an administrator looks: the
// debugger output (a debugger, DebugView) and the Application event log under the program's
// source, which any user may write to. With an error code, its number and text follow.
void WriteFailure(const std::string& what, DWORD error = ERROR_SUCCESS);

}  // namespace pw::win32
