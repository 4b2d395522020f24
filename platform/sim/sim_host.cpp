#include "platform/sim/sim_host.h"

#include "platform/forms/menu.h"

namespace pw::sim {

void SimInput::SendDownArrowAndWait() {
  SimMachine& m = host_.machine;
  m.keystrokes.push_back({m.desktop.Foreground(), "DOWN", m.world.Now()});
  // The wait handles the input queued ahead of the key, on this process's own thread.
  if (m.onKeystroke) m.onKeystroke();
}

void SimInput::Beep() {
  ++host_.machine.beeps;
}

void SimInput::HoldSwitchKeys(bool hold) {
  if (hold == holding_) return;
  holding_ = hold;
  SimDesktop& desktop = host_.machine.desktop;
  desktop.switchKeyHolders += hold ? 1 : -1;
  if (hold) ++desktop.switchKeyHolds;
}

void SimProcess::EndNow(std::uint32_t exitCode) {
  host_.exitCode = exitCode;
  host_.machine.world.EndProcess(host_.pid);
}

std::string SimProcess::ProgramFolder() {
  return host_.programFolder;
}

bool SimProcess::SessionGuard() const {
  return host_.sessionGuard;
}

void SimProcess::Answer() {
  if (host_.sessionGuard) host_.answers.push_back(host_.machine.world.Now());
}

SimForegroundEvents::~SimForegroundEvents() {
  if (watch_ != 0) host_.machine.desktop.Unwatch(watch_);
}

void SimForegroundEvents::Watch(std::function<void(Change)> changed) {
  SimDesktop& desktop = host_.machine.desktop;
  if (watch_ != 0) desktop.Unwatch(watch_);
  watch_ = 0;
  if (!changed) return;
  watch_ = desktop.Watch(host_.pid, [this, changed = std::move(changed)](bool title) {
    // Where titles go unreported (Wine), a new window in front is heard as the focus moving.
    const Change change = title                                 ? Change::Title
                          : host_.machine.desktop.reportsTitles ? Change::Front
                                                                : Change::Focus;
    host_.machine.world.Post(host_.pid, [changed, change] { changed(change); });
  });
}

SimHost::SimHost(SimMachine& m, std::string name)
    : machine(m),
      pid(m.world.AddProcess(std::move(name))),
      windows(m.desktop),
      shell(m.shell),
      input(*this),
      process(*this),
      foregroundEvents(*this),
      loop(m.world, pid),
      views(*this),
      toolkit(loop, views) {
  loop.afterEvent = [this] { views.CheckViews(); };
}

bool SimHost::ChoosePopupItem(const std::string& caption) {
  if (!popup || popup->closed) return false;
  for (forms::MenuItem* item : popup->menu->Items()) {
    if (item->Visible() && item->Caption() == caption) {
      popup->chosen = item->Enabled() ? item : nullptr;
      popup->closed = true;
      return true;
    }
  }
  return false;
}

}  // namespace pw::sim
