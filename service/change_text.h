#pragma once

#include <string>
#include <vector>

#include "store/settings_store.h"

namespace pw::service {

// What a store changed, for the record: words added, removed, switched on or off, and each
// setting with its old and new text. Empty when nothing changed.
std::string DescribeChange(const SettingTexts& before, const SettingTexts& after,
                           const std::vector<WordEntry>& wordsBefore,
                           const std::vector<WordEntry>& wordsAfter);

}  // namespace pw::service
