// The owner's authority under Wine, with the package's service running: plain-text passwords
// taken in, the lock opened through the service, the setup window and the change-passwords
// dialog storing through its pipe.
#include <string>

#include "tests/e2e/e2e_hands.h"
#include "tests/e2e/e2e_scenarios.h"

namespace pw::e2e {

namespace {

constexpr const char* kSettingsKey = "HKLM\\SOFTWARE\\Tarnwick\\Addon2\\Settings";
constexpr const char* kVaultPath = "SOFTWARE\\Tarnwick\\Addon2\\Vault";

// The vault's value as text; Wine keeps no access lists, so the driver can read it here.
std::string VaultValue(const char* name) {
  return MachineString(kVaultPath, name);
}

bool Hashed(const char* name) {
  return VaultValue(name).rfind("pbkdf2-sha256$", 0) == 0;
}

long RegAdd(const std::string& name, const std::string& value) {
  return Run("reg add \"" + std::string(kSettingsKey) + "\" /v " + name + " /d \"" + value +
             "\" /f /reg:32");
}

// Opens a locked page, answers its prompt and tells whether the page lives.
bool Unlocks(Driver& d, Check& c, const std::string& className, const std::string& title,
             const std::string& password) {
  PlayedWindow& page = d.OpenWindow(className, title);
  HWND prompt = PromptInFrontOf(d, c, page, "a locked page asks for the password: " + title);
  if (prompt == nullptr) return false;
  d.Type(d.FirstChild(prompt, "Edit"), password);
  d.Press(prompt, "OK");
  return d.WaitFor(
             [&] { return IsWindowEnabled(page.hwnd) != FALSE && VisiblePrompt(d) == nullptr; },
             kPatience) &&
         page.closeRequests == 0;
}

// One raw message to the owner's pipe, as any program could send; the reply's bytes, or
// nothing. `send` false connects and hangs up without a word.
std::string RawExchange(const std::string& message, bool send = true) {
  HANDLE pipe = CreateFileW(L"\\\\.\\pipe\\Pagewarden.Owner", GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (pipe == INVALID_HANDLE_VALUE) return "";
  DWORD mode = PIPE_READMODE_MESSAGE;
  SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr);
  char reply[64] = {};
  DWORD got = 0;
  DWORD put = 0;
  if (send && WriteFile(pipe, message.data(), static_cast<DWORD>(message.size()), &put, nullptr)) {
    ReadFile(pipe, reply, sizeof reply, &got, nullptr);
  }
  CloseHandle(pipe);
  return std::string(reply, got);
}

}  // namespace

HWND PromptInFrontOf(Driver& d, Check& c, PlayedWindow& page, const std::string& what) {
  // Under Wine with no window manager, the focus of a window that just closed can fall back to
  // the desktop after the page came forward; the guard only looks at the window in front.
  d.WaitFor(
      [&] {
        if (GetForegroundWindow() != page.hwnd) SetForegroundWindow(page.hwnd);
        return GetForegroundWindow() == page.hwnd;
      },
      kPatience);
  HWND prompt = nullptr;
  c.That(d.WaitFor([&] { return (prompt = VisiblePrompt(d)) != nullptr; }, kPatience), what);
  return prompt;
}

void OwnersAuthority(Driver& d, Check& c) {
  // Any program may talk to the pipe: what is not a request gets the error reply, and a client
  // that says nothing holds nobody up.
  const std::string refused = RawExchange(std::string("\x01\x09garbage", 9));
  c.That(refused.size() == 8 && refused[0] == 1 && refused[1] == 5,
         "a malformed request gets the error reply");
  RawExchange("", false);
  const std::string oversized = RawExchange(std::string(2 * 1024 * 1024, '\x01'));
  c.That(oversized.size() == 8 && oversized[1] == 5, "an oversized request gets the error reply");

  // An administrator sets the first passwords in plain text, as an older version stored them.
  c.That(RegAdd("UserPassword", "secret") == 0 && RegAdd("UserPassword2", "owner") == 0,
         "reg add stores the passwords in plain text");
  const bool takenIn = d.WaitFor(
      [&] { return d.GetSetting("UserPassword").empty() && d.GetSetting("UserPassword2").empty(); },
      5000);
  c.That(takenIn, "the service removes the plain text within 5 s");
  c.That(Hashed("Unlock") && Hashed("Setup"), "and keeps both as salted hashes");
  d.PutWord(0, "poker,1");
  c.That(Unlocks(d, c, "IEFrame", "Poker night - Microsoft Internet Explorer", "secret"),
         "the password taken in opens the lock");

  // The setup window stores through the service.
  HWND setup = OpenSetup(d, c, "owner");
  if (setup == nullptr) return;
  d.Type(d.FirstChild(setup, "Edit"), "Pagewarden Test Browser");
  d.Press(setup, "OK");
  c.That(
      d.WaitFor([&] { return d.GetSetting("webbrowser") == "Pagewarden Test Browser"; }, kPatience),
      "the setup window's OK stores through the service");
  c.That(d.GetWord(0) == "poker,1", "in the layout every reader knows");

  // New passwords through the setup menu: Settings, then Set Passwords..., by access keys.
  setup = OpenSetup(d, c, "owner");
  if (setup == nullptr) return;
  if (!ChangePasswordsThroughTheMenu(d, c, setup, {"newpass", "newowner"},
                                     {"newpass", "newowner"})) {
    return;
  }
  c.That(d.GetSetting("UserPassword").empty() && d.GetSetting("UserPassword2").empty(),
         "no password is stored in plain text");
  d.Press(setup, "Cancel");
  c.That(d.WaitFor([&] { return Gone(setup); }, kPatience), "Cancel closes the setup window");
  c.That(Unlocks(d, c, "MozillaWindowClass", "Poker tables - Pagewarden Test Browser", "newpass"),
         "the next prompt takes the new unlock password");
  c.That(OpenSetup(d, c, "newowner") != nullptr, "and the new setup password opens the setup");
}

}  // namespace pw::e2e
