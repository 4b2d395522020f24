#include "platform/win32/backend/win32_text_rules.h"

#include <windows.h>

#include "base/text.h"
#include "platform/win32/backend/win32_text.h"

namespace pw::win32 {

namespace {

std::wstring Normalized(const std::wstring& text) {
  if (text.empty()) return text;
  const int size = static_cast<int>(text.size());
  int guess = NormalizeString(NormalizationKC, text.data(), size, nullptr, 0);
  // The first answer is an estimate; a longer result asks again with the size it reports.
  for (int attempt = 0; attempt < 4 && guess > 0; ++attempt) {
    std::wstring out(static_cast<std::size_t>(guess), L'\0');
    const int length = NormalizeString(NormalizationKC, text.data(), size, out.data(), guess);
    if (length > 0) {
      out.resize(static_cast<std::size_t>(length));
      return out;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    guess = -length;
  }
  // Text Windows cannot normalize (a lone surrogate) is compared as it is.
  return text;
}

std::wstring Lowered(const std::wstring& text) {
  if (text.empty()) return text;
  const int size = static_cast<int>(text.size());
  const int length = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text.data(), size,
                                   nullptr, 0, nullptr, nullptr, 0);
  if (length <= 0) return text;
  std::wstring out(static_cast<std::size_t>(length), L'\0');
  LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text.data(), size, out.data(), length,
                nullptr, nullptr, 0);
  return out;
}

}  // namespace

std::string Win32TextRules::ReaderForm(std::string_view text) {
  const std::wstring lowered = Lowered(Normalized(win32::Wide(text)));
  std::string form;
  form.reserve(lowered.size());
  for (std::size_t i = 0; i < lowered.size(); ++i) {
    char32_t c = lowered[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < lowered.size() && lowered[i + 1] >= 0xDC00 &&
        lowered[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (lowered[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (IsDefaultIgnorable(c)) continue;
    // Lower case is not yet case folding: these two letters fold further, as Unicode has it.
    if (c == U'\u00DF') {
      form += "ss";
    } else if (c == U'\u03C2') {
      AppendUtf8(form, U'\u03C3');
    } else {
      AppendUtf8(form, c);
    }
  }
  return form;
}

std::string Win32TextRules::Lower(std::string_view text) {
  return win32::Utf8(Lowered(win32::Wide(text)));
}

}  // namespace pw::win32
