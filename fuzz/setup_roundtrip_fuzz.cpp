// The setup window over fuzzer-chosen stored values: opening it and pressing OK keeps every
// entry that was stored validly, with its text and check mark, never stores more than the
// readers read, and a second round changes nothing. On the way the wizard may add a word.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_app.h"
#include "fuzz/fuzz_check.h"
#include "store/registry_module.h"
#include "store/settings_layout.h"

namespace pw::fuzz {
namespace {

using Entry = std::pair<std::string, bool>;

std::string Bytes(FuzzedDataProvider& in, std::size_t most) {
  return in.ConsumeBytesAsString(in.ConsumeIntegralInRange<std::size_t>(0, most));
}

void PutValues(FuzzedDataProvider& in, sim::SimRegistry& r) {
  // A run of plain entries from the start, up to a full list, then values of any kind anywhere.
  const int run = in.ConsumeBool() ? 0 : in.ConsumeIntegralInRange<int>(0, kListValueCount);
  for (int n = 0; n < run; ++n) {
    r.PutString(HKEY_LOCAL_MACHINE_, kWindowsKey, ListValueName(n),
                "w" + std::to_string(n) + (n % 3 == 0 ? ",1" : ",0"));
  }
  const int count = in.ConsumeIntegralInRange<int>(0, 16);
  for (int i = 0; i < count; ++i) {
    const std::string name = ListValueName(in.ConsumeIntegralInRange<int>(0, 1005));
    const std::uint32_t type =
        in.PickValueInArray({REG_SZ_, REG_SZ_, REG_SZ_, REG_DWORD_, REG_MULTI_SZ_, REG_BINARY_,
                             REG_EXPAND_SZ_, REG_NONE_});
    std::string data = Bytes(in, 12) + in.PickValueInArray({",1", ",0", "1", "0", ""});
    if (in.ConsumeBool()) data += '\0';
    r.Put(HKEY_LOCAL_MACHINE_, kWindowsKey, name, type,
          std::vector<std::uint8_t>(data.begin(), data.end()));
  }
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      break;
    case 1:
      r.PutString(HKEY_LOCAL_MACHINE_, kSettingsKey, kFirstTime, "0");
      break;
    case 2:
      r.PutString(HKEY_LOCAL_MACHINE_, kSettingsKey, kFirstTime, "1");
      break;
    default:
      r.PutString(HKEY_LOCAL_MACHINE_, kSettingsKey, kFirstTime, Bytes(in, 3));
      break;
  }
}

// Every value a reader takes as an entry, in number order, and how many names hold one.
std::vector<Entry> StoredEntries(sim::SimRegistry& r) {
  RegistryModule store(r);
  std::vector<Entry> entries;
  for (int n = 0; n < kListValueCount; ++n) {
    const std::string value =
        ValueToText(store.GetRegValue(HKEY_LOCAL_MACHINE_, kWindowsKey, ListValueName(n)));
    if (value.size() < 2 || (value.back() != '1' && value.back() != '0')) continue;
    entries.emplace_back(value.substr(0, value.size() - 2), value.back() == '1');
  }
  return entries;
}

// Whether every entry of `part`, counted with repeats, is in `whole`.
bool Within(std::vector<Entry> part, std::vector<Entry> whole) {
  std::sort(part.begin(), part.end());
  std::sort(whole.begin(), whole.end());
  return std::includes(whole.begin(), whole.end(), part.begin(), part.end());
}

void OpenAndPressOK(FuzzApp& f) {
  frmSetup& setup = f.app.setup;
  f.Do([&] { setup.Show(); });
  f.Do([&] { setup.Cmdok.Press(); });
  Require(!setup.Loaded() || !setup.Visible(), "OK closes the setup window");
}

}  // namespace

void CheckOneInput(FuzzedDataProvider& in) {
  sim::SimMachine machine;
  PutValues(in, machine.registry);
  const std::vector<Entry> before = StoredEntries(machine.registry);
  FuzzApp f(machine);
  f.Start();

  // Perhaps a new word through the wizard first; a full list must refuse it.
  frmSetup& setup = f.app.setup;
  f.Do([&] { setup.Show(); });
  std::vector<std::string> shown;
  f.Do([&] {
    for (int i = 0; i < setup.List1.ListCount(); ++i) shown.push_back(setup.List1.List(i));
  });
  const std::string word = in.ConsumeBool() ? Bytes(in, 10) : "";
  const bool fresh = !word.empty() && std::find(shown.begin(), shown.end(), word) == shown.end();
  if (fresh) {
    frmAddWizard& wizard = f.app.addWizard;
    f.Do([&] { setup.cmdAdd.Press(); });
    f.Do([&] { wizard.txtWindow.Type(word); });
    f.Do([&] { wizard.cmdNext.Press(); });
    f.Do([&] { wizard.cmdNext.Press(); });
    f.Do([&] {
      if (wizard.Loaded() && wizard.Visible()) wizard.cmdCancel.Press();
    });
  }
  Require(setup.Enabled(), "the setup window is usable again after the wizard");
  f.Do([&] { setup.Cmdok.Press(); });
  const std::vector<Entry> after = StoredEntries(machine.registry);

  Require(Within(before, after), "every valid stored entry keeps its text and check mark");
  const bool room = shown.size() < static_cast<std::size_t>(kListValueCount);
  Require(after.size() == shown.size() + (fresh && room ? 1 : 0), "the list shown is stored");
  Require(after.size() <= static_cast<std::size_t>(kListValueCount),
          "no more entries than the readers read");
  for (int n = static_cast<int>(after.size()); n < kListValueCount; ++n) {
    Require(!machine.registry.HasValue(HKEY_LOCAL_MACHINE_, kWindowsKey, ListValueName(n)),
            "no value is left beyond the stored list");
  }
  if (fresh && room) {
    Require(std::count(after.begin(), after.end(), Entry{word, true}) == 1,
            "a new word is added, ticked, while there is room");
  }
  Require(machine.registry.GetString(HKEY_LOCAL_MACHINE_, kSettingsKey, kFirstTime) == "1",
          "the list is marked as stored");

  OpenAndPressOK(f);
  Require(StoredEntries(machine.registry) == after, "a second round changes nothing");
}

}  // namespace pw::fuzz
