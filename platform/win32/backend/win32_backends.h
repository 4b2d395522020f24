#pragma once

// The Win32 implementations of the platform interfaces, for the code that picks the backend.
#include "platform/win32/backend/win32_foreground_events.h"
#include "platform/win32/backend/win32_input.h"
#include "platform/win32/backend/win32_owner_line.h"
#include "platform/win32/backend/win32_process.h"
#include "platform/win32/backend/win32_registry.h"
#include "platform/win32/backend/win32_shell.h"
#include "platform/win32/backend/win32_text_rules.h"
#include "platform/win32/backend/win32_window_system.h"
