// The monitor over fuzzer-chosen stored words and settings, then scan ticks over fuzzer-made
// window titles of any characters. What must hold: a window is frozen exactly when its title
// holds both the browser fragment and an active word, as a reader sees them, and its program
// answers, at most once a tick, nothing waits on a program that does not answer, and every
// frozen window is let go again.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "fuzz/fuzz_app.h"
#include "fuzz/fuzz_check.h"
#include "platform/sim/sim_text_rules.h"
#include "store/registry_module.h"
#include "store/settings_layout.h"

namespace pw::fuzz {
namespace {

constexpr Millis kTick = 250;
constexpr std::size_t kTitleLimit = 254;  // characters the monitor reads of a title

// The first n characters of valid UTF-8.
std::string FirstChars(const std::string& text, std::size_t n) {
  std::size_t end = 0;
  for (std::size_t count = 0; end < text.size() && count < n; ++count) {
    do {
      ++end;
    } while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80);
  }
  return text.substr(0, end);
}

std::string Bytes(FuzzedDataProvider& in, std::size_t most, std::uint8_t lowest) {
  std::string s(in.ConsumeIntegralInRange<std::size_t>(0, most), ' ');
  for (char& c : s) c = static_cast<char>(in.ConsumeIntegralInRange<std::uint8_t>(lowest, 255));
  return s;
}

// Changes the letter case of some characters, as a page title might.
std::string Recase(FuzzedDataProvider& in, std::string s) {
  for (char& c : s) {
    if (in.ConsumeBool() && c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
  }
  return s;
}

void PutSettings(FuzzedDataProvider& in, sim::SimRegistry& r, std::string& browser) {
  auto put = [&](const char* name, const std::string& value) {
    r.PutString(HKEY_LOCAL_MACHINE_, kSettingsKey, name, value);
  };
  put(kUserPassword, "secret");
  switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
      break;
    case 1:
      put(kWebBrowser, "Internet Explorer");
      break;
    default:
      put(kWebBrowser, Bytes(in, 6, 0));
      break;
  }
  if (in.ConsumeBool()) put(kPasswordPrompt, in.ConsumeBool() ? "1" : Bytes(in, 2, 0));
  if (in.ConsumeBool()) put(kTimeDelay, Bytes(in, 6, 0));
  if (in.ConsumeBool()) put(kDisableMenu, "1");
  browser = r.GetString(HKEY_LOCAL_MACHINE_, kSettingsKey, kWebBrowser);
  if (browser.empty()) browser = "Internet Explorer";
}

// Stores list values of any kind at any numbers; returns the texts a reader gets.
std::vector<std::string> PutWords(FuzzedDataProvider& in, sim::SimRegistry& r) {
  const int count = in.ConsumeIntegralInRange<int>(0, 12);
  for (int i = 0; i < count; ++i) {
    const std::string name = ListValueName(in.ConsumeIntegralInRange<int>(0, 999));
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
      case 0:
        r.PutDword(HKEY_LOCAL_MACHINE_, kWindowsKey, name, in.ConsumeIntegral<std::uint32_t>());
        break;
      case 1: {
        const std::string data = Bytes(in, 8, 0);
        r.Put(HKEY_LOCAL_MACHINE_, kWindowsKey, name,
              in.PickValueInArray({REG_BINARY_, REG_MULTI_SZ_, REG_EXPAND_SZ_, REG_NONE_}),
              std::vector<std::uint8_t>(data.begin(), data.end()));
        break;
      }
      default: {
        const std::string flag = in.PickValueInArray({",1", ",0", "1", ""});
        r.PutString(HKEY_LOCAL_MACHINE_, kWindowsKey, name, Bytes(in, 8, 0) + flag);
        break;
      }
    }
  }
  RegistryModule store(r);
  std::vector<std::string> texts;
  for (int n = 0; n < kListValueCount; ++n) {
    texts.push_back(
        ValueToText(store.GetRegValue(HKEY_LOCAL_MACHINE_, kWindowsKey, ListValueName(n))));
  }
  return texts;
}

// The lock's rule applied to a title: the browser fragment and an active word both in it, as
// a reader sees them.
bool Offending(const std::string& title, const std::string& browser,
               const std::vector<std::string>& stored) {
  sim::SimTextRules rules;
  const std::string seen = rules.ReaderForm(FirstChars(title, kTitleLimit));
  if (seen.empty() || seen.find(rules.ReaderForm(browser)) == std::string::npos) return false;
  for (const std::string& value : stored) {
    if (value.size() < 2 || value.back() != '1') continue;
    const std::string word = rules.ReaderForm(value.substr(0, value.size() - 2));
    if (seen.find(word) != std::string::npos) return true;
  }
  return false;
}

std::string MakeTitle(FuzzedDataProvider& in, const std::string& browser,
                      const std::vector<std::string>& stored) {
  std::string title;
  const int pieces = in.ConsumeIntegralInRange<int>(0, 5);
  for (int i = 0; i < pieces; ++i) {
    switch (in.ConsumeIntegralInRange<int>(0, 2)) {
      case 0:
        title += Recase(in, browser);
        break;
      case 1: {
        const std::string& value = stored[in.ConsumeIntegralInRange<std::size_t>(0, 999)];
        title += Recase(in, value.size() >= 2 ? value.substr(0, value.size() - 2) : value);
        break;
      }
      default:
        title += Bytes(in, 300, 1);
        break;
    }
  }
  // A window does not hold a zero byte in its title, and the system hands out titles as
  // well-formed text.
  for (char& c : title) {
    if (c == '\0') c = ' ';
  }
  return ValidUtf8(title);
}

}  // namespace

void CheckOneInput(FuzzedDataProvider& in) {
  sim::SimMachine machine;
  std::string browser;
  PutSettings(in, machine.registry, browser);
  const std::vector<std::string> stored = PutWords(in, machine.registry);
  FuzzApp f(machine);
  f.Start();
  frmPassword& prompt = f.app.password;

  const int windows = in.ConsumeIntegralInRange<int>(1, 6);
  for (int i = 0; i < windows && in.remaining_bytes() > 0; ++i) {
    const std::string className =
        in.ConsumeBool() ? "IEFrame" : in.PickValueInArray({"Notepad", "#32770", "Chrome_Widget"});
    std::string title = MakeTitle(in, browser, stored);
    // That caption asks the monitor for its setup, which is not what is checked here.
    if (LowerAscii(title) == "pagewarden setup") title += '.';
    const bool visible = in.ConsumeIntegralInRange<int>(0, 7) != 0;
    const Hwnd window = machine.desktop.CreateWindow(className, title, 0, visible);
    // Now and then a window whose program has stopped answering: it must be left alone.
    const bool hung = in.ConsumeIntegralInRange<int>(0, 9) == 0;
    machine.desktop.Find(window)->hung = hung;
    machine.desktop.BringToFront(window);
    const std::size_t prompts = machine.keystrokes.size();

    machine.world.RunFor(kTick);  // exactly one scan tick falls in here
    const int freezes = f.windows.freezes[window];
    Require(freezes <= 1, "at most one stop a tick");
    Require(machine.keystrokes.size() - prompts <= 1, "at most one prompt a tick");
    Require((freezes == 1) == (visible && !hung && Offending(title, browser, stored)),
            "frozen exactly when the title holds the browser fragment and an active word");
    Require(machine.desktop.Find(window)->waitedOn == 0, "nothing waits on a hung window");

    if (prompt.Loaded() && prompt.Visible()) {
      switch (in.ConsumeIntegralInRange<int>(0, 2)) {
        case 0:
          f.Do([&] { prompt.Command1.Press(); });
          break;
        case 1:
          f.Do([&] { prompt.cmdOK.Press(); });
          break;
        default:
          f.Do([&] {
            prompt.txtPassword.Type("wrong");
            prompt.cmdOK.Press();
          });
          f.Do([&] { prompt.Command1.Press(); });
          break;
      }
    }
    if (machine.desktop.Exists(window)) machine.desktop.DestroyWindow(window);
    machine.world.RunFor(2 * kTick + 500);  // the wait after a close request, and a tick
    Require(!(prompt.Loaded() && prompt.Visible()), "the prompt is gone once answered");
    Require(!machine.desktop.clip.has_value(), "the cursor is free again");
  }
}

}  // namespace pw::fuzz
