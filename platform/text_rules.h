#pragma once

#include <string>
#include <string_view>

namespace pw {

// The system's rules for comparing text as people read it. Text in and out is UTF-8.
class TextRules {
 public:
  virtual ~TextRules() = default;

  // The one form in which words and titles are compared: compatibility forms composed (NFKC, so
  // fullwidth letters and ligatures become plain ones), letter case folded, and the characters
  // that show nothing removed. Two texts a reader cannot tell apart get the same form.
  virtual std::string ReaderForm(std::string_view text) = 0;
  // Lower case letter by letter, as the system maps it: for passwords.
  virtual std::string Lower(std::string_view text) = 0;
};

}  // namespace pw
