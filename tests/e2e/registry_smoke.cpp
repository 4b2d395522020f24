// Smoke test of the registry backend and of the settings store on top of it, against the real
// registry: pw_registry_smoke.exe prints "N passed, M failed" and exits 1 on a failure.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/backend/win32_registry.h"
#include "store/registry_module.h"
#include "tests/e2e/smoke_tally.h"

namespace pw::smoke {

using namespace pw::win32;
namespace {

constexpr RegKey kMachine = HKEY_LOCAL_MACHINE_;
constexpr RegKey kUser = 0x80000001u;  // HKEY_CURRENT_USER

struct Stored {
  bool found = false;
  DWORD type = 0;
  std::vector<BYTE> bytes;
};

// Reads a value with advapi32 directly, in the given view, to see what really got stored.
Stored RawRead(const std::string& path, const std::string& name, REGSAM view) {
  Stored stored;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
    return stored;
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &stored.type, nullptr, &size) == ERROR_SUCCESS) {
    stored.bytes.resize(size);
    stored.found = RegQueryValueExA(key, name.c_str(), nullptr, &stored.type, stored.bytes.data(),
                                    &size) == ERROR_SUCCESS;
    stored.bytes.resize(size);
  }
  RegCloseKey(key);
  return stored;
}

bool RawKeyExists(const std::string& path, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

void RawDeleteTree(const std::string& parent, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, parent.c_str(), 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY,
                    &key) != ERROR_SUCCESS)
    return;
  RegDeleteTreeA(key, name.c_str());
  RegCloseKey(key);
}

std::vector<BYTE> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

bool RunningOn64BitWindows() {
  if (sizeof(void*) == 8) return true;
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) != FALSE && wow64 != FALSE;
}

void KeysAndViews(Tally& t, Win32Registry& api, const std::string& base) {
  const std::string deep = base + "\\One\\Two";
  RegKey key = 0;
  std::uint32_t how = 0;
  // Key creation asks for no access rights at all, as the store does.
  long status = api.RegCreateKeyExA(kMachine, deep, 0, 0, key, how);
  t.That(status == ERROR_SUCCESS && key != 0, "creating missing levels succeeds");
  t.That(how == REG_CREATED_NEW_KEY_, "a new key is reported as created");
  t.That(api.RegCloseKey(key) == ERROR_SUCCESS, "closing a created key");
  status = api.RegCreateKeyExA(kMachine, deep, 0, 0, key, how);
  t.That(status == ERROR_SUCCESS && how == REG_OPENED_EXISTING_KEY_,
         "creating it again opens the existing key");
  api.RegCloseKey(key);

  // The 32-bit view: on 64-bit Windows the key lives under Wow6432Node for everyone.
  if (RunningOn64BitWindows()) {
    const std::string redirected = "SOFTWARE\\Wow6432Node" + base.substr(8);
    t.That(RawKeyExists(redirected, KEY_WOW64_64KEY), "keys go to the 32-bit view");
  }

  status = api.RegOpenKeyExA(kMachine, base + "\\Missing", 0, KEY_READ_, key);
  t.That(status == ERROR_FILE_NOT_FOUND && key == 0, "opening a missing key fails with no handle");
  status = api.RegOpenKeyExA(kUser, "Software", 0, KEY_READ_, key);
  t.That(status == ERROR_SUCCESS && key != 0, "HKEY_CURRENT_USER is a root as well");
  api.RegCloseKey(key);

  std::uint32_t type = 0;
  std::uint32_t size = 0;
  t.That(api.RegQueryValueExA(0, "x", type, nullptr, size) == ERROR_INVALID_HANDLE &&
             api.RegSetValueExA(0, "x", REG_SZ_, nullptr, 0) == ERROR_INVALID_HANDLE &&
             api.RegDeleteValueA(0, "x") == ERROR_INVALID_HANDLE &&
             api.RegCloseKey(0) == ERROR_INVALID_HANDLE,
         "the handle 0 is refused by every value call");
}

void ValuesThroughTheBackend(Tally& t, Win32Registry& api, const std::string& path) {
  RegKey key = 0;
  std::uint32_t how = 0;
  if (api.RegCreateKeyExA(kMachine, path, 0, KEY_WRITE_ | KEY_READ_, key, how) != ERROR_SUCCESS) {
    t.That(false, "opening the key for the value checks");
    return;
  }
  // Text whose next byte is not zero still gets exactly one terminator.
  const char unterminated[] = {'a', 'b', 'c', 'X'};
  t.That(
      api.RegSetValueExA(key, "Cut", REG_SZ_, reinterpret_cast<const std::uint8_t*>(unterminated),
                         3) == ERROR_SUCCESS,
      "writing text without its terminator");
  t.That(RawRead(path, "Cut", KEY_WOW64_32KEY).bytes == Bytes(std::string("abc", 4)),
         "the text is stored as abc and one zero");

  const std::string longText(1500, 'w');
  api.RegSetValueExA(key, "Long", REG_SZ_, reinterpret_cast<const std::uint8_t*>(longText.data()),
                     static_cast<std::uint32_t>(longText.size()));
  std::vector<std::uint8_t> buffer(1024);
  std::uint32_t type = 0;
  std::uint32_t size = 1024;
  const long status = api.RegQueryValueExA(key, "Long", type, buffer.data(), size);
  t.That(status == ERROR_MORE_DATA, "a 1500-character value does not fit 1024 bytes");
  t.That(size == 1501 && type == REG_SZ_, "the length needed and the type are reported");

  type = 77;
  size = 1024;
  t.That(api.RegQueryValueExA(key, "Absent", type, buffer.data(), size) == ERROR_FILE_NOT_FOUND,
         "a missing value is not found");
  t.That(type == 77 && size == 1024, "a missing value leaves type and size as they were");

  t.That(api.RegDeleteValueA(key, "Long") == ERROR_SUCCESS, "deleting a value");
  t.That(!RawRead(path, "Long", KEY_WOW64_32KEY).found, "the deleted value is gone");
  t.That(api.RegDeleteValueA(key, "Long") == ERROR_FILE_NOT_FOUND,
         "deleting it again finds nothing");
  api.RegCloseKey(key);
}

void ValuesThroughTheStore(Tally& t, RegistryModule& store, const std::string& base) {
  const std::string path = base + "\\Store\\Settings";
  t.That(!store.CreateRegKey(kMachine, base + "\\Store"), "a new key: CreateRegKey is false");
  t.That(store.CreateRegKey(kMachine, base + "\\Store"), "an existing key: CreateRegKey is true");

  t.That(store.SaveRegValue(kMachine, path, "webbrowser", std::string("abc")),
         "saving under a missing key creates it");
  const Stored abc = RawRead(path, "webbrowser", KEY_WOW64_32KEY);
  t.That(abc.type == REG_SZ && abc.bytes == Bytes(std::string("abc", 4)),
         "abc is stored as REG_SZ of four bytes");
  t.That(store.GetRegValue(kMachine, path, "webbrowser") == RegistryValue(std::string("abc")),
         "abc reads back");

  store.SaveRegValue(kMachine, path, "Empty", std::string());
  const Stored empty = RawRead(path, "Empty", KEY_WOW64_32KEY);
  t.That(empty.found && empty.type == REG_SZ && empty.bytes.empty(),
         "the empty string is a value of zero bytes");
  t.That(store.GetRegValue(kMachine, path, "Empty") == RegistryValue(std::string()),
         "the empty string reads back");

  const std::string longText(1500, 'q');
  store.SaveRegValue(kMachine, path, "Long", longText);
  t.That(store.GetRegValue(kMachine, path, "Long") == RegistryValue(longText),
         "a 1500-character value reads back whole");

  store.SaveRegValue(kMachine, path, "Number", std::int32_t{5});
  const Stored five = RawRead(path, "Number", KEY_WOW64_32KEY);
  t.That(five.type == REG_DWORD && five.bytes == std::vector<BYTE>{5, 0, 0, 0},
         "the integer 5 is stored as REG_DWORD");
  t.That(ValueToText(store.GetRegValue(kMachine, path, "Number")) == "5", "5 reads back as 5");

  t.That(store.GetRegValue(kMachine, path, "Absent") == RegistryValue(Empty{}),
         "a missing value reads as empty");
  t.That(store.GetRegValue(kMachine, base + "\\Nowhere", "x") == RegistryValue(Empty{}),
         "a missing key reads as empty");
  t.That(!RawKeyExists(base + "\\Nowhere", KEY_WOW64_32KEY), "reading does not create the key");

  t.That(store.DeleteRegValue(kMachine, path, "Number"), "the store deletes a value");
  t.That(!RawRead(path, "Number", KEY_WOW64_32KEY).found, "the value is gone");
}

}  // namespace
}  // namespace pw::smoke

int main() {
  using namespace pw::smoke;
  const std::string name = "PagewardenSmoke" + std::to_string(GetCurrentProcessId());
  const std::string base = "SOFTWARE\\" + name;
  Tally t;
  pw::win32::Win32Registry api;
  pw::RegistryModule store(api);
  KeysAndViews(t, api, base);
  ValuesThroughTheBackend(t, api, base + "\\Values");
  ValuesThroughTheStore(t, store, base);
  RawDeleteTree("SOFTWARE", name);
  t.That(!RawKeyExists(base, KEY_WOW64_32KEY), "the smoke keys are removed afterwards");
  return t.Report();
}
