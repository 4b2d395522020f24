#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/foreground_events.h"
#include "platform/forms/toolkit.h"
#include "platform/input.h"
#include "platform/process.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/sim_text_rules.h"
#include "platform/sim/sim_views.h"
#include "platform/sim/sim_window_system.h"

namespace pw::forms {
class MenuItem;
}

namespace pw::sim {

class SimHost;

class SimInput : public Input {
 public:
  explicit SimInput(SimHost& host) : host_(host) {}
  void SendDownArrowAndWait() override;
  void Beep() override;
  void HoldSwitchKeys(bool hold) override;

 private:
  SimHost& host_;
  bool holding_ = false;
};

class SimProcess : public Process {
 public:
  explicit SimProcess(SimHost& host) : host_(host) {}
  [[noreturn]] void EndNow(std::uint32_t exitCode) override;
  std::string ProgramFolder() override;
  bool SessionGuard() const override;
  void Answer() override;

 private:
  SimHost& host_;
};

// The desktop's change reports, delivered on this process's own thread at its next wait.
class SimForegroundEvents : public ForegroundEvents {
 public:
  explicit SimForegroundEvents(SimHost& host) : host_(host) {}
  ~SimForegroundEvents() override;
  SimForegroundEvents(const SimForegroundEvents&) = delete;
  SimForegroundEvents& operator=(const SimForegroundEvents&) = delete;

  void Watch(std::function<void(Change)> changed) override;

 private:
  SimHost& host_;
  int watch_ = 0;
};

struct PopupEntry {
  std::string caption;
  bool enabled = true;
  bool checked = false;
  bool isDefault = false;
};

struct PopupShown {
  std::string menu;
  std::vector<PopupEntry> entries;
  Point at;
  Millis when = 0;
};

// One simulated process's platform: its window system, shell, input, process control, event
// loop, views and forms toolkit.
class SimHost {
 public:
  SimHost(SimMachine& machine, std::string name);

  SimMachine& machine;
  const int pid;
  std::string programFolder = "C:\\Program Files\\Pagewarden";
  // The code the process ended with through EndNow.
  std::optional<std::uint32_t> exitCode;
  // Started by the watchdog service as the session's guard; the times it answered the service.
  bool sessionGuard = false;
  std::vector<Millis> answers;

  SimWindowSystem windows;
  SimShell shell;
  SimInput input;
  SimProcess process;
  SimForegroundEvents foregroundEvents;
  SimTextRules text;
  SimEventLoop loop;
  SimViewFactory views;
  forms::Toolkit toolkit;

  // The popup menu open right now, while the handler that opened it waits.
  struct OpenPopup {
    forms::MenuItem* menu = nullptr;
    forms::MenuItem* chosen = nullptr;
    bool closed = false;
  };
  std::optional<OpenPopup> popup;
  std::vector<PopupShown> popupsShown;

  // For the user: picks an item of the open popup by caption (false when none is open or no
  // such item).
  bool ChoosePopupItem(const std::string& caption);
};

}  // namespace pw::sim
