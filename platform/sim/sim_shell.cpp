#include "platform/sim/sim_shell.h"

#include <cstring>

namespace pw::sim {

namespace {

std::uint32_t ReadU32(const TrayRecord& record, std::size_t offset) {
  return static_cast<std::uint32_t>(record[offset]) |
         static_cast<std::uint32_t>(record[offset + 1]) << 8 |
         static_cast<std::uint32_t>(record[offset + 2]) << 16 |
         static_cast<std::uint32_t>(record[offset + 3]) << 24;
}

}  // namespace

bool SimShellState::NotifyIcon(std::uint32_t message, const TrayRecord& record) {
  calls.push_back({message, record});
  if (ReadU32(record, 0) != record.size()) return false;
  TrayIcon icon;
  icon.window = ReadU32(record, 4);
  icon.id = ReadU32(record, 8);
  icon.flags = ReadU32(record, 12);
  icon.callbackMessage = ReadU32(record, 16);
  icon.icon = ReadU32(record, 20);
  const char* tip = reinterpret_cast<const char*>(record.data() + 24);
  icon.tip.assign(tip, strnlen(tip, 64));
  const auto key = std::make_pair(icon.window, icon.id);
  if (message == NIM_ADD_) {
    if (icons.count(key) != 0 || !desktop_.Exists(icon.window)) return false;
    icons[key] = icon;
    return true;
  }
  if (message == NIM_DELETE_) return icons.erase(key) != 0;
  return false;
}

bool SimShellState::ClickIcon(Hwnd window, std::uint32_t id, int eventCode) {
  auto it = icons.find({window, id});
  if (it == icons.end()) return false;
  return desktop_.Post(window, it->second.callbackMessage, id, eventCode);
}

void SimShellState::RestartExplorer() {
  icons.clear();
  desktop_.Broadcast(desktop_.RegisterMessage("TaskbarCreated"), 0, 0);
}

bool SimShell::Shell_NotifyIconA(std::uint32_t message, const TrayRecord& record) {
  return state_.NotifyIcon(message, record);
}

std::intptr_t SimShell::ShellExecuteA(Hwnd owner, const std::string& operation,
                                      const std::string& file, const std::string& parameters,
                                      const std::string& directory, int showCommand) {
  (void)parameters;
  state_.opened.push_back({owner, operation, file, directory, showCommand});
  return 42;  // above 32: success
}

bool SimShell::StartProgram(const std::string& path, int windowStyle) {
  const bool ok = state_.startProgram && state_.startProgram(path, windowStyle);
  state_.started.push_back({path, windowStyle, ok});
  return ok;
}

std::optional<std::string> SimShell::ChooseSaveFile(Hwnd owner, const std::string& suggested) {
  (void)owner;
  (void)suggested;
  return state_.saveAnswer;
}

bool SimShell::WriteWholeFile(const std::string& path, const std::string& bytes) {
  state_.files[path] = bytes;
  return true;
}

}  // namespace pw::sim
