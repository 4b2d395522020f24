#include "monitor/module1.h"

#include <algorithm>

#include "app/app.h"

namespace pw {

namespace {

constexpr std::size_t kTipOffset = 24;
constexpr std::size_t kTipSize = 64;

void PutU32(TrayRecord& record, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

}  // namespace

TrayRecord Module1::MakeTrayData(std::uint32_t window, std::uint32_t id, std::uint32_t flags,
                                 std::uint32_t callbackMessage, std::uint32_t icon,
                                 const std::string& tip) {
  TrayRecord record{};
  PutU32(record, 0, static_cast<std::uint32_t>(record.size()));
  PutU32(record, 4, window);
  PutU32(record, 8, id);
  PutU32(record, 12, flags);
  PutU32(record, 16, callbackMessage);
  PutU32(record, 20, icon);
  std::fill(record.begin() + kTipOffset, record.end(), static_cast<std::uint8_t>(' '));
  // A tip too long for the field keeps its terminating NUL in the last byte.
  const std::size_t length = std::min(tip.size(), kTipSize - 1);
  std::copy_n(tip.begin(), length, record.begin() + kTipOffset);
  record[kTipOffset + length] = 0;
  return record;
}

void Module1::AddTrayIcon() {
  frmMain& main = app_.main;
  const TrayRecord record = MakeTrayData(main.hWnd(), 1, NIF_MESSAGE_ | NIF_ICON_ | NIF_TIP_,
                                         WM_MOUSEMOVE_, main.View()->IconHandle(), kTrayTip);
  app_.platform.shell.Shell_NotifyIconA(NIM_ADD_, record);
}

void Module1::DeleteTrayIcon() {
  frmMain& main = app_.main;
  const TrayRecord record = MakeTrayData(main.hWnd(), 1, NIF_MESSAGE_ | NIF_ICON_ | NIF_TIP_, 1,
                                         main.View()->IconHandle(), "");
  app_.platform.shell.Shell_NotifyIconA(NIM_DELETE_, record);
}

}  // namespace pw
