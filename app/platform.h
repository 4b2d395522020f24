#pragma once

#include "platform/foreground_events.h"
#include "platform/forms/toolkit.h"
#include "platform/input.h"
#include "platform/owner_line.h"
#include "platform/process.h"
#include "platform/registry_api.h"
#include "platform/shell.h"
#include "platform/text_rules.h"
#include "platform/window_system.h"

namespace pw {

// The services one process runs on; the App never knows which backend is behind them.
struct Platform {
  WindowSystem& windows;
  RegistryApi& registry;
  Shell& shell;
  Input& input;
  Process& process;
  forms::Toolkit& toolkit;
  ForegroundEvents& foregroundEvents;
  TextRules& text;
  OwnerLine& owner;
};

}  // namespace pw
