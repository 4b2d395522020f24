#include "monitor/browser_programs.h"

#include <algorithm>
#include <iterator>

#include "base/text.h"

namespace pw {

namespace {

// Browsers in use, by program file. Tor Browser runs firefox.exe; Opera GX runs opera.exe;
// Yandex Browser's program is browser.exe.
constexpr std::string_view kBrowserPrograms[] = {
    "chrome.exe",    "msedge.exe",   "firefox.exe",  "brave.exe",    "opera.exe",
    "vivaldi.exe",   "iexplore.exe", "chromium.exe", "waterfox.exe", "librewolf.exe",
    "floorp.exe",    "browser.exe",  "whale.exe",    "arc.exe",      "zen.exe",
    "seamonkey.exe", "palemoon.exe", "thorium.exe",  "maxthon.exe",  "microsoftedge.exe"};

// Enough for every process of a busy day; past it the cache starts again.
constexpr std::size_t kMaxKnown = 512;

}  // namespace

bool BrowserPrograms::IsBrowserProgram(std::string_view fileName) {
  const std::string lowered = LowerAscii(fileName);
  return std::find(std::begin(kBrowserPrograms), std::end(kBrowserPrograms), lowered) !=
         std::end(kBrowserPrograms);
}

bool BrowserPrograms::Owns(WindowSystem& windows, Hwnd window) {
  const ProcessKey process = windows.ProcessOf(window);
  if (process.id == 0) return false;
  if (const auto it = known_.find(process); it != known_.end()) return it->second;
  if (known_.size() >= kMaxKnown) known_.clear();
  return known_[process] = IsBrowserProgram(windows.ProgramNameOf(process));
}

}  // namespace pw
