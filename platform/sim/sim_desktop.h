#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/input.h"
#include "platform/sim/sim_screen.h"
#include "platform/types.h"

namespace pw::sim {

struct PostedMessage {
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  Millis at = 0;
};

// A process of a program the test plays, such as a browser.
struct PlayedProcess {
  std::string program;  // its file name, "msedge.exe"
  std::uint64_t started = 0;
  bool opens = true;  // false: it refuses to be opened, as an elevated one may
};

struct SimWindow {
  Hwnd handle = 0;
  std::string className;
  std::string title;
  int ownerPid = 0;  // 0: a program the test plays, such as a browser
  int process = 0;   // for a played program: its process, 0 when none was started for it
  bool visible = true;
  bool enabled = true;
  bool topmost = false;
  Rect bounds;         // screen pixels, outer
  Point clientOrigin;  // screen pixels
  Point clientSize;    // pixels
  std::vector<PostedMessage> messages;
  std::vector<int> showCommands;
  // A played program closes its window on WM_CLOSE unless it refuses.
  bool refusesClose = false;
  // Its thread has stopped reading messages; calls that send to it count in waitedOn.
  bool hung = false;
  int waitedOn = 0;
  // Set for windows of simulated processes: delivers a posted message to the owner.
  std::function<void(const PostedMessage&)> deliver;
};

// The shared desktop of every simulated process: top-level windows, the foreground window, the
// cursor and its clip rectangle.
class SimDesktop {
 public:
  explicit SimDesktop(std::function<Millis()> clock) : clock_(std::move(clock)) {}

  SimScreen screen;

  // A window of a played program, shown and brought to the front; in the given played process
  // when there is one.
  Hwnd OpenWindow(const std::string& className, const std::string& title, int process = 0);
  // Starts a played program's process under the given id (a fresh one when 0, or an ended
  // one's, as Windows reuses them) and returns the id.
  int StartProcess(const std::string& program, int id = 0, bool opens = true);
  // Ends a played process and closes its windows.
  void EndProcess(int id);
  const PlayedProcess* FindProcess(int id) const;
  // How often a program asked which program a process runs.
  int programLookups = 0;
  Hwnd CreateWindow(const std::string& className, const std::string& title, int ownerPid,
                    bool visible);
  void DestroyWindow(Hwnd handle);
  void DestroyWindowsOf(int ownerPid);
  SimWindow* Find(Hwnd handle);
  const SimWindow* Find(Hwnd handle) const;
  bool Exists(Hwnd handle) const { return Find(handle) != nullptr; }
  std::vector<const SimWindow*> Windows() const;
  std::vector<const SimWindow*> WindowsOf(int ownerPid) const;
  // Top-level windows matching class and whole title, letter case aside; null matches any.
  Hwnd FindWindow(const char* className, const char* title) const;

  void BringToFront(Hwnd handle);
  // Right behind `after` in the z-order, or in front of all for 0; the foreground stays.
  void PlaceBehind(Hwnd handle, Hwnd after);
  // Moves and sizes the outer rectangle; the frame keeps its size.
  void SetBounds(Hwnd handle, const Rect& bounds);
  // Shown without taking the foreground when `activate` is false.
  void SetVisible(Hwnd handle, bool visible, bool activate = true);
  void SetTitle(Hwnd handle, const std::string& title);
  Hwnd Foreground() const { return foreground_; }

  // Change reports as Windows gives them: a watcher hears of every change of the foreground
  // window and of a title (`title` says which), except for windows of its own process. Off by
  // default. Without title reports, as Wine gives them, only the foreground is heard.
  bool reportsChanges = false;
  bool reportsTitles = true;
  int Watch(int pid, std::function<void(bool title)> heard);
  void Unwatch(int id);

  bool Post(Hwnd handle, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  // Posts to every top-level window, shown or hidden, as a broadcast does.
  void Broadcast(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  // The number of a message registered by name: the same for every program, letter case aside.
  std::uint32_t RegisterMessage(const std::string& name);

  // The user presses a key with the modifiers given. False when a keyboard hook swallowed it.
  // Alt+Tab and Alt+Esc that pass bring the next shown window to the front.
  bool PressKey(const KeyPress& key);
  // Processes whose keyboard hook swallows the keys that switch away, and how often one was
  // installed.
  int switchKeyHolders = 0;
  int switchKeyHolds = 0;

  Point cursor{screen.width / 2, screen.height / 2};
  std::optional<Rect> clip;
  int clipCalls = 0;  // how often a program set or freed the clip
  // Moves the cursor, held inside the clip rectangle when there is one.
  void MoveCursor(Point to);
  void Clip(const Rect* rect);

 private:
  void PickNewForeground();
  // Topmost windows stay in front of all others.
  void KeepLayers();
  void SetForeground(Hwnd handle);
  void Report(Hwnd changed, bool title);

  struct Watcher {
    int id = 0;
    int pid = 0;
    std::function<void(bool title)> heard;
  };
  std::vector<Watcher> watchers_;
  int nextWatch_ = 1;

  std::function<Millis()> clock_;
  std::map<Hwnd, SimWindow> windows_;
  std::map<int, PlayedProcess> processes_;
  int nextProcess_ = 7000;
  std::uint64_t starts_ = 0;
  // Class names never change: windows by lowered class name, so that a search by class does not
  // walk the desktop.
  std::map<std::string, std::vector<Hwnd>, std::less<>> byClass_;
  std::vector<Hwnd> zOrder_;  // front first, the topmost layer before the others
  // Registered message numbers by lowered name.
  std::map<std::string, std::uint32_t, std::less<>> registered_;
  Hwnd foreground_ = 0;
  Hwnd nextHandle_ = 0x10010;
};

}  // namespace pw::sim
