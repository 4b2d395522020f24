// The registry calls the monitor and the setup window make when they read and store the settings
// and the word list, call by call and in order, for a few stored states. The expected lists were
// taken from the program as it stood before the settings store was gathered in one place: any
// change of order, of a value written or of a value read fails here.
#include <gtest/gtest.h>

#include "platform/sim/sim_owner_line.h"

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/app.h"
#include "platform/sim/sim_host.h"
#include "platform/sim/sim_machine.h"
#include "tests/support/stored.h"

namespace pw {
namespace {

constexpr RegKey HKLM = HKEY_LOCAL_MACHINE_;
using test::kSettingsPath;
using test::kWindowsPath;

// Bytes as readable text; a run of one byte is written once with its count, so a long value
// stays one line.
std::string Show(const std::uint8_t* data, std::uint32_t size) {
  std::string out = "\"";
  for (std::uint32_t i = 0; i < size;) {
    std::uint32_t run = 1;
    while (i + run < size && data[i + run] == data[i]) ++run;
    const auto c = static_cast<unsigned char>(data[i]);
    std::string one;
    if (c == '"' || c == '\\') {
      one = std::string("\\") + static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      one = std::string(1, static_cast<char>(c));
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      one = hex;
    }
    if (run >= 8) {
      out += "<" + one + " x" + std::to_string(run) + ">";
      i += run;
    } else {
      out += one;
      ++i;
    }
  }
  return out + "\"";
}

std::string Access(std::uint32_t access) {
  switch (access) {
    case KEY_READ_:
      return "read";
    case KEY_WRITE_:
      return "write";
    case KEY_NOTIFY_:
      return "notify";
    default:
      return std::to_string(access);
  }
}

// Passes every call to the simulated registry and writes it down as one line: what was called,
// on which key and value, what was written, and any result other than success.
class RecordingRegistry : public RegistryApi {
 public:
  explicit RecordingRegistry(sim::SimRegistry& sim) : sim_(sim) {}

  long RegOpenKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                     std::uint32_t access, RegKey& result) override {
    const long code = sim_.RegOpenKeyExA(root, path, options, access, result);
    if (code == ERROR_SUCCESS_) keys_[result] = KeyName(path);
    Note("open " + KeyName(path) + " " + Access(access), code);
    return code;
  }
  long RegCreateKeyExA(RegKey root, const std::string& path, std::uint32_t options,
                       std::uint32_t access, RegKey& result, std::uint32_t& disposition) override {
    const long code = sim_.RegCreateKeyExA(root, path, options, access, result, disposition);
    if (code == ERROR_SUCCESS_) keys_[result] = KeyName(path);
    Note("create " + KeyName(path), code);
    return code;
  }
  long RegSetValueExA(RegKey key, const std::string& name, std::uint32_t type,
                      const std::uint8_t* data, std::uint32_t size) override {
    const long code = sim_.RegSetValueExA(key, name, type, data, size);
    const std::string kind = type == REG_SZ_ ? "REG_SZ" : "type " + std::to_string(type);
    Note("set " + keys_[key] + "/" + name + " " + kind + " " + Show(data, size), code);
    return code;
  }
  long RegQueryValueExA(RegKey key, const std::string& name, std::uint32_t& type,
                        std::uint8_t* data, std::uint32_t& size) override {
    const long code = sim_.RegQueryValueExA(key, name, type, data, size);
    Note("query " + keys_[key] + "/" + name, code);
    return code;
  }
  long RegDeleteValueA(RegKey key, const std::string& name) override {
    const long code = sim_.RegDeleteValueA(key, name);
    Note("delete " + keys_[key] + "/" + name, code);
    return code;
  }
  long RegCloseKey(RegKey key) override {
    Note("close " + keys_[key], ERROR_SUCCESS_);
    return sim_.RegCloseKey(key);
  }
  long RegNotifyChangeKeyValue(RegKey key, std::function<void()> onChange) override {
    const long code = sim_.RegNotifyChangeKeyValue(key, std::move(onChange));
    Note("notify " + keys_[key], code);
    return code;
  }

  // The calls since the last take.
  std::vector<std::string> Take() { return std::exchange(calls_, {}); }

 private:
  static std::string KeyName(const std::string& path) {
    return path.substr(path.find_last_of('\\') + 1);
  }
  void Note(std::string line, long code) {
    if (code != ERROR_SUCCESS_) line += " -> " + std::to_string(code);
    calls_.push_back(std::move(line));
  }

  sim::SimRegistry& sim_;
  std::map<RegKey, std::string> keys_;
  std::vector<std::string> calls_;
};

// A call line split into its value number, if it names a list value, and the rest.
struct Call {
  std::string line;
  std::string shape;  // the line with the value number taken out
  std::optional<int> number;
};

Call Split(const std::string& line) {
  static const std::regex kName("/Window([0-9]+)");
  std::smatch match;
  if (!std::regex_search(line, match, kName)) return {line, line, std::nullopt};
  const std::string shape = match.prefix().str() + "/Window#" + match.suffix().str();
  return {line, shape, std::stoi(match[1])};
}

// How many times the k calls from `at` repeat back to back, each time on values numbered one
// higher.
int Repeats(const std::vector<Call>& calls, std::size_t at, std::size_t k) {
  int m = 1;
  for (std::size_t next = at + k; next + k <= calls.size(); next += k, ++m) {
    for (std::size_t t = 0; t < k; ++t) {
      const Call& first = calls[at + t];
      const Call& call = calls[next + t];
      if (call.shape != first.shape) return m;
      if (first.number && *call.number != *first.number + m) return m;
    }
  }
  return m;
}

// The calls as text, one a line, where a run of three or more like blocks (the same calls on
// values numbered one higher each time) is written once as "repeat".
std::string Fold(const std::vector<std::string>& lines) {
  constexpr std::size_t kLongestBlock = 8;
  std::vector<Call> calls;
  for (const std::string& line : lines) calls.push_back(Split(line));
  std::string out;
  for (std::size_t at = 0; at < calls.size();) {
    std::size_t bestK = 1;
    int bestM = 1;
    for (std::size_t k = 1; k <= kLongestBlock && at + k <= calls.size(); ++k) {
      const int m = Repeats(calls, at, k);
      if (m >= 3 && k * m > bestK * bestM) {
        bestK = k;
        bestM = m;
      }
    }
    if (bestM < 3) {
      out += calls[at++].line + "\n";
      continue;
    }
    std::optional<int> from;
    for (std::size_t t = 0; t < bestK && !from; ++t) from = calls[at + t].number;
    out += "repeat " + std::to_string(bestM);
    if (from) out += ", n = " + std::to_string(*from) + ".." + std::to_string(*from + bestM - 1);
    out += ":\n";
    for (std::size_t t = 0; t < bestK; ++t) {
      const Call& call = calls[at + t];
      std::string line = call.line;
      if (call.number) {
        const int d = *call.number - *from;
        line = call.shape;
        line.replace(line.find("/Window#") + 7, 1,
                     d == 0 ? "{n}" : "{n+" + std::to_string(d) + "}");
      }
      out += "  " + line + "\n";
    }
    at += bestK * static_cast<std::size_t>(bestM);
  }
  return out;
}

// Expected calls, one a line, spelled with the patterns every load and store repeats: each value
// is read or written on a key opened for it alone. A name may carry its result ("Name -> 2").
std::string Times(int count, const std::string& lines) {
  std::string out;
  for (int i = 0; i < count; ++i) out += lines;
  return out;
}
std::string Read(const std::string& key, const std::string& name) {
  return "open " + key + " read\nquery " + key + "/" + name + "\nclose " + key + "\n";
}
std::string Reads(const std::string& key, const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += Read(key, name);
  return out;
}
std::string Set(const std::string& key, const std::string& name, const std::string& shown) {
  return "open " + key + " write\nset " + key + "/" + name + " REG_SZ \"" + shown + "\"\nclose " +
         key + "\n";
}
// The list values from `from` to `to` read; those not in `stored` are missing.
std::string WordReads(int from, int to, const std::set<int>& stored) {
  std::string out;
  for (int n = from; n <= to; ++n) {
    out += Read("Windows", test::WordName(n) + (stored.contains(n) ? "" : " -> 2"));
  }
  return out;
}
// The list stored as `shown` from value 0 on.
std::string WordSets(const std::vector<std::string>& shown) {
  std::string out;
  for (std::size_t n = 0; n < shown.size(); ++n) {
    out += Set("Windows", test::WordName(static_cast<int>(n)), shown[n]);
  }
  return out;
}
// The list values from `from` to `to` deleted; those not in `stored` were missing.
std::string WordDeletes(int from, int to, const std::set<int>& stored) {
  std::string out;
  for (int n = from; n <= to; ++n) {
    out += "open Windows write\ndelete Windows/" + test::WordName(n) +
           (stored.contains(n) ? "" : " -> 2") + "\nclose Windows\n";
  }
  return out;
}

// The settings the setup window shows, read and stored.
const std::string kOptionReads = Reads("Settings", {"webbrowser", "passwordprompt", "disablemenu",
                                                    "HideMenu", "WatchAllBrowsers -> 2"});
std::string OptionSets(const std::string& browser, const std::string& prompt,
                       const std::string& disable, const std::string& hide) {
  return Set("Settings", "webbrowser", browser) + Set("Settings", "passwordprompt", prompt) +
         Set("Settings", "disablemenu", disable) + Set("Settings", "HideMenu", hide) +
         Set("Settings", "WatchAllBrowsers", "1");
}
// What a store begins with when the settings key is there.
const std::string kStoreStart = "open Vault read -> 2\n" + Set("Settings", "FirstTime", "1");

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

// One copy of the program on a simulated machine, whose registry calls are written down.
class SettingsCallsTest : public ::testing::Test {
 protected:
  ~SettingsCallsTest() override { machine.world.Kill(host.pid); }

  void Start() {
    machine.world.Start(host.pid, [this] { app.Run(); });
    machine.world.RunFor(0);
  }
  void Do(std::function<void()> action) {
    machine.world.Post(host.pid, std::move(action));
    machine.world.RunFor(0);
  }
  // The calls since the last look, folded.
  std::string Calls() { return Fold(recorder.Take()); }
  // Both sides folded, so that a failure shows a short list.
  void ExpectCalls(const std::string& expected) { EXPECT_EQ(Calls(), Fold(Lines(expected))); }

  // Start-up; then a reload on the watcher tick, which first looks after the watch of both keys
  // and then reads what start-up reads; then the setup window opened.
  void StartReloadAndOpen(const std::string& startUp, const std::string& watch,
                          const std::string& opening) {
    Start();
    ExpectCalls(startUp);
    Do([&] { app.shared.ReloadPending = true; });
    machine.world.RunFor(250);  // one watcher tick
    ExpectCalls(watch + startUp);
    Do([&] { app.setup.Show(); });
    ExpectCalls(opening);
  }
  // The same with both keys there to watch: `words` is how the list reads and `passwords` how
  // the two passwords do.
  void StartReloadAndOpenStored(const std::string& words, const std::string& passwords) {
    StartReloadAndOpen(
        "open Settings notify\nnotify Settings\nopen Windows notify\nnotify Windows\n" + words +
            passwords + kOptionReads + Read("Settings", "TimeDelay"),
        "close Settings\nclose Windows\n", kOptionReads + words + Read("Settings", "FirstTime"));
  }

  sim::SimMachine machine;
  sim::SimHost host{machine, "pgwatch.exe"};
  RecordingRegistry recorder{machine.registry};
  sim::SimOwnerLine owner{machine, "no service", {}};
  App app{Platform{host.windows, recorder, host.shell, host.input, host.process, host.toolkit,
                   host.foregroundEvents, host.text, owner}};
};

TEST_F(SettingsCallsTest, NothingStored) {
  // Neither key can be watched yet, so the watcher tick looks for both again.
  const std::string notify = "open Settings notify -> 2\nopen Windows notify -> 2\n";
  StartReloadAndOpen(
      notify + Times(1000, "open Windows read -> 2\n") + Times(8, "open Settings read -> 2\n"),
      notify,
      Times(5, "open Settings read -> 2\n") + Times(1000, "open Windows read -> 2\n") +
          "open Settings read -> 2\n");
  // The first store creates both keys.
  Do([&] { app.setup.cmdApply.Press(); });
  ExpectCalls("open Vault read -> 2\nopen Settings write -> 2\ncreate Settings\nclose Settings\n" +
              Set("Settings", "FirstTime", "1") +
              "open Windows write -> 2\ncreate Windows\nclose Windows\n" +
              WordSets({"Babe,0", "Boob,0", "Hardcore,0", "Naked,0", "Nude,0", "Nudist,0", "Porn,0",
                        "Sex,0", "Teen Boys,0", "Teen Girls,0", "XXX,0"}) +
              WordDeletes(11, 999, {}) + OptionSets("Internet Explorer", "0", "0", "0"));
}

TEST_F(SettingsCallsTest, WordsAndSettingsStored) {
  auto setting = [&](const char* name, const char* value) {
    machine.registry.PutString(HKLM, kSettingsPath, name, value);
  };
  setting("UserPassword", "secret");
  setting("UserPassword2", "setup");
  setting("webbrowser", "Firefox");
  setting("passwordprompt", "1");
  setting("disablemenu", "0");
  setting("HideMenu", "1");
  setting("TimeDelay", "12");
  setting("FirstTime", "1");
  machine.registry.PutString(HKLM, kWindowsPath, "Window0", "Babe,1");
  machine.registry.PutString(HKLM, kWindowsPath, "Window1", "Sex,0");
  machine.registry.PutString(HKLM, kWindowsPath, "Window3", "casino,1");

  StartReloadAndOpenStored(WordReads(0, 999, {0, 1, 3}),
                           Reads("Settings", {"UserPassword", "UserPassword2"}));
  // The unticked entry goes, and its value with it.
  Do([&] {
    app.setup.List1.SetListIndex(2);
    app.setup.cmdRemove.Press();
    app.setup.cmdApply.Press();
  });
  ExpectCalls(kStoreStart + WordSets({"Babe,1", "casino,1"}) + WordDeletes(2, 999, {3}) +
              OptionSets("Firefox", "1", "0", "1"));
}

TEST_F(SettingsCallsTest, HostileValues) {
  sim::SimRegistry& r = machine.registry;
  auto bytes = [](const std::string& s) { return std::vector<std::uint8_t>(s.begin(), s.end()); };
  r.PutString(HKLM, kWindowsPath, "Window0", "1");
  r.PutDword(HKLM, kWindowsPath, "Window1", 11);
  r.PutString(HKLM, kWindowsPath, "Window2", std::string(1500, 'x') + ",1");
  r.PutString(HKLM, kWindowsPath, "Window4", "a,b,1");
  r.PutString(HKLM, kWindowsPath, "Window5", "x,2");
  r.PutString(HKLM, kWindowsPath, "Window6", ",1");
  r.Put(HKLM, kWindowsPath, "Window7", REG_BINARY_, bytes("bin,0"));
  r.Put(HKLM, kWindowsPath, "Window8", REG_MULTI_SZ_, bytes(std::string("m,1\0\0", 5)));
  r.PutString(HKLM, kWindowsPath, "Window9", std::string("nul\0in,1", 8));
  r.PutString(HKLM, kWindowsPath, "Window999", "last,0");
  r.PutString(HKLM, kWindowsPath, "Window1000", "beyond,1");
  r.PutDword(HKLM, kSettingsPath, "webbrowser", 7);
  r.PutString(HKLM, kSettingsPath, "UserPassword", "tencharsxx");
  r.PutString(HKLM, kSettingsPath, "passwordprompt", "yes");
  r.PutString(HKLM, kSettingsPath, "disablemenu", "1");
  r.PutString(HKLM, kSettingsPath, "HideMenu", "1 ");
  r.Put(HKLM, kSettingsPath, "TimeDelay", REG_EXPAND_SZ_, bytes("[NOT FOUND]"));
  r.PutString(HKLM, kSettingsPath, "FirstTime", "0");

  // The long value is asked for twice, its size first; nothing past Window999 is read.
  StartReloadAndOpenStored(WordReads(0, 1, {0, 1}) +
                               "open Windows read\nquery Windows/Window2 -> 234\nquery "
                               "Windows/Window2\nclose Windows\n" +
                               WordReads(3, 999, {4, 5, 6, 7, 8, 9, 999}),
                           Reads("Settings", {"UserPassword", "UserPassword2 -> 2"}));
  // "FirstTime" = "0" brought the default words in again; an empty browser box stores the
  // default title.
  Do([&] {
    app.setup.txtwebbrowser.SetText("");
    app.setup.mnuHideMenu.Press();
    app.setup.Cmdok.Press();
  });
  ExpectCalls(kStoreStart +
              WordSets({",1", ",1", "a,b,1", "Babe,0", "bin,0", "Boob,0", "Hardcore,0", "last,0",
                        "m,1", "Naked,0", "Nude,0", "Nudist,0", "nul\\x00in,1", "Porn,0", "Sex,0",
                        "Teen Boys,0", "Teen Girls,0", "XXX,0", "<x x1500>,1"}) +
              WordDeletes(19, 999, {999}) + OptionSets("Internet Explorer", "0", "1", "1"));
}

TEST_F(SettingsCallsTest, WritesRefused) {
  machine.registry.PutString(HKLM, kSettingsPath, "FirstTime", "1");
  machine.registry.PutString(HKLM, kWindowsPath, "Window0", "Babe,1");
  machine.registry.RefuseWritesUnder("SOFTWARE\\Tarnwick");
  Start();
  Do([&] { app.setup.Show(); });
  recorder.Take();
  // Every write is tried, each one failing on its own.
  Do([&] { app.setup.Cmdok.Press(); });
  const std::string refusedCreate =
      "open Settings write -> 5\ncreate Settings\nclose Settings\nopen Settings write -> 5\n";
  ExpectCalls("open Vault read -> 2\n" + refusedCreate +
              "open Windows write -> 5\ncreate Windows\nclose Windows\n" +
              Times(1000, "open Windows write -> 5\n") + Times(5, refusedCreate));
}

}  // namespace
}  // namespace pw
