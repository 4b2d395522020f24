#include "service/change_text.h"

#include <map>

namespace pw::service {

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
  std::map<std::string, bool> had;
  for (const WordEntry& w : wordsBefore) had.emplace(w.text, w.active);
  std::map<std::string, bool> now;
  for (const WordEntry& w : wordsAfter) now.emplace(w.text, w.active);
  std::vector<std::string> added, removed, on, off;
  for (const auto& [text, active] : now) {
    const auto was = had.find(text);
    if (was == had.end()) {
      added.push_back(active ? text : text + " (inactive)");
    } else if (was->second != active) {
      (active ? on : off).push_back(text);
    }
  }
  for (const auto& [text, active] : had) {
    if (!now.contains(text)) removed.push_back(text);
  }
  std::string out;
  AddList(out, "words added", added);
  AddList(out, "words removed", removed);
  AddList(out, "words switched on", on);
  AddList(out, "words switched off", off);
  const std::map<std::string, std::string> old(before.begin(), before.end());
  for (const auto& [name, text] : after) {
    const auto was = old.find(name);
    const std::string oldText = was == old.end() ? "" : was->second;
    if (oldText == text) continue;
    if (!out.empty()) out += "; ";
    out += name + ": \"" + oldText + "\" to \"" + text + "\"";
  }
  return out;
}

}  // namespace pw::service
