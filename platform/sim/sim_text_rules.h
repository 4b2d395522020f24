#pragma once

#include "platform/text_rules.h"

namespace pw::sim {

// The rules as libutf8proc gives them.
class SimTextRules : public TextRules {
 public:
  std::string ReaderForm(std::string_view text) override;
  std::string Lower(std::string_view text) override;
};

}  // namespace pw::sim
