#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace pw::e2e {

// A string value under HKEY_LOCAL_MACHINE in the program's (32-bit) view; "" when there is none.
std::string MachineString(const char* path, const std::string& name);
// Milliseconds on a fine clock, for measuring.
double PreciseMs();
// How long reading the first `count` list values takes here when each is read as the program
// reads it: its own key handle, a 1024-byte buffer, closed again.
double ListReadsMs(int count);

// Runs this thread's message loop until WM_QUIT, with the wide calls or the ANSI ones to match the
// thread's windows; 0, as the played program's exit code.
int PumpUntilQuit(bool wide);

// A window the driver opens to play a browser; it records the close requests it gets.
struct PlayedWindow {
  HWND hwnd = nullptr;
  int closeRequests = 0;
  bool refuseClose = false;
  double shownAt = 0;     // PreciseMs() just before it was shown
  double frontAt = 0;     // when the call that brings it to the front returned
  double disabledAt = 0;  // when it was first disabled, or 0
};

// Plays a browser and a user against the real program: starts it, opens windows, finds the
// program's windows by caption, types into its text boxes and presses its buttons by caption.
class Driver {
 public:
  explicit Driver(std::string program);
  ~Driver();

  // Deletes the program's keys and ends every running copy: each test starts clean.
  void Reset();
  void PutSetting(const std::string& name, const std::string& value);
  void PutWord(int n, const std::string& value);
  std::string GetSetting(const std::string& name);
  std::string GetWord(int n);

  bool StartProgram();
  // The hidden monitor: the top-level window captioned "Pagewarden" that is not shown and holds
  // the word lists.
  HWND Monitor();
  // Waits until the window's thread has been answering at once for a while: the program has
  // finished starting and serves its timers. False at the deadline.
  bool Settled(HWND window, int timeoutMs);
  DWORD ProcessOf(HWND window);

  // Shows the window, brings it to the front and lets it settle for the given time.
  PlayedWindow& OpenWindow(const std::string& className, const std::string& title,
                           int settleMs = 50);
  bool Alive(const PlayedWindow& window) const;

  // The screen density programs started from now on get (the driver's own stays).
  void SetScreenDpi(int dpi);

  // Pumps the driver's own messages while it waits (the program sends to our windows).
  bool WaitFor(const std::function<bool()>& condition, int timeoutMs);
  // The same, looking every millisecond: milliseconds until the condition held, or -1.
  long MillisUntil(const std::function<bool()>& condition, int timeoutMs);
  void Pause(int ms);

  // A visible top-level window whose caption starts with the text, or null.
  HWND FindVisible(const std::string& captionPrefix);
  HWND Child(HWND parent, const std::string& className, const std::string& text);
  HWND FirstChild(HWND parent, const std::string& className);
  std::string Text(HWND window);
  void Type(HWND edit, const std::string& text);
  // Real keystrokes to whatever has the keyboard: small letters, digits and "\r" for Enter.
  bool Keys(const std::string& text);
  bool Press(HWND parent, const std::string& caption);

 private:
  static LRESULT CALLBACK PlayedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void EndAllCopies();

  std::string program_;
  std::vector<PlayedWindow*> windows_;
};

}  // namespace pw::e2e
