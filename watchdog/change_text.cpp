#include "watchdog/change_text.h"

#include <algorithm>
#include <map>

namespace pw::watchdog {

namespace {

void AddList(std::string& out, const char* what, const std::vector<std::string>& items) {
  if (items.empty()) return;
  if (!out.empty()) out += "; ";
  out += what;
  out += ": ";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ", ";
    out += '"' + items[i] + '"';
  }
}

}  // namespace

std::string DescribeChange(const SettingTexts& before, const SettingTexts& after,
                           const std::vector<WordEntry>& wordsBefore,
                           const std::vector<WordEntry>& wordsAfter) {
  std::map<std::string, bool> old;
  for (const WordEntry& w : wordsBefore) old.emplace(w.text, w.active);
  std::map<std::string, bool> now;
  for (const WordEntry& w : wordsAfter) now.emplace(w.text, w.active);
  std::vector<std::string> added, removed, on, off;
  for (const auto& [text, active] : now) {
    const auto was = old.find(text);
    if (was == old.end()) {
      added.push_back(active ? text : text + " (inactive)");
    } else if (was->second != active) {
      (active ? on : off).push_back(text);
    }
  }
  for (const auto& [text, active] : old) {
    if (!now.contains(text)) removed.push_back(text);
  }
  std::string out;
  AddList(out, "words added", added);
  AddList(out, "words removed", removed);
  AddList(out, "words switched on", on);
  AddList(out, "words switched off", off);
  for (const auto& [name, text] : after) {
    const auto was = std::find_if(before.begin(), before.end(),
                                  [&](const auto& pair) { return pair.first == name; });
    const std::string oldText = was == before.end() ? "" : was->second;
    if (oldText == text) continue;
    if (!out.empty()) out += "; ";
    out += name + ": \"" + oldText + "\" to \"" + text + "\"";
  }
  return out;
}

}  // namespace pw::watchdog
