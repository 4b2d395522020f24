#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/shell.h"
#include "platform/sim/sim_desktop.h"

namespace pw::sim {

struct TrayIcon {
  Hwnd window = 0;
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callbackMessage = 0;
  std::uint32_t icon = 0;
  std::string tip;  // up to the first NUL
};

struct ShellCall {
  std::uint32_t message;
  TrayRecord record;
};

struct StartedProgram {
  std::string path;
  int windowStyle = 0;
  bool started = false;
};

struct OpenedDocument {
  Hwnd owner = 0;
  std::string operation;
  std::string file;
  std::string directory;
  int showCommand = 0;
};

// The notification area and what programs asked the shell to open or start, shared by every
// simulated process.
class SimShellState {
 public:
  explicit SimShellState(SimDesktop& desktop) : desktop_(desktop) {}

  std::map<std::pair<Hwnd, std::uint32_t>, TrayIcon> icons;
  std::vector<ShellCall> calls;
  std::vector<StartedProgram> started;
  std::vector<OpenedDocument> opened;
  // Starts a program; returns false when it cannot be started. Unset: every start fails.
  std::function<bool(const std::string& path, int windowStyle)> startProgram;
  // What the user picks in the Save dialog (nothing: Cancel), and the files written.
  std::optional<std::string> saveAnswer;
  std::map<std::string, std::string> files;

  bool NotifyIcon(std::uint32_t message, const TrayRecord& record);
  // The user did something on an icon: the shell sends the icon's callback message with the
  // mouse event code (for example 515 double-click, 517 right button up).
  bool ClickIcon(Hwnd window, std::uint32_t id, int eventCode);
  // Explorer restarts: the icons it held are gone, and it announces its new notification area
  // to every top-level window.
  void RestartExplorer();

 private:
  SimDesktop& desktop_;
};

class SimShell : public Shell {
 public:
  explicit SimShell(SimShellState& state) : state_(state) {}

  bool Shell_NotifyIconA(std::uint32_t message, const TrayRecord& record) override;
  std::intptr_t ShellExecuteA(Hwnd owner, const std::string& operation, const std::string& file,
                              const std::string& parameters, const std::string& directory,
                              int showCommand) override;
  bool StartProgram(const std::string& path, int windowStyle) override;
  std::optional<std::string> ChooseSaveFile(Hwnd owner, const std::string& suggested) override;
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override;

 private:
  SimShellState& state_;
};

}  // namespace pw::sim
