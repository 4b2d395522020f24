#pragma once

#include "platform/text_rules.h"

namespace pw::win32 {

// The rules as Windows gives them: NormalizeString for the compatibility forms, LCMapStringEx
// for letter case.
class Win32TextRules : public TextRules {
 public:
  std::string ReaderForm(std::string_view text) override;
  std::string Lower(std::string_view text) override;
};

}  // namespace pw::win32
