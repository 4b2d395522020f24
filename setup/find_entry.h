#pragma once

#include <string>

#include "platform/forms/list_box.h"

namespace pw {

// The first position whose text equals `text` exactly (letter case counts), or -1.
inline int FindEntry(forms::ListBox& list, const std::string& text) {
  const int count = list.ListCount();
  for (int i = 0; i < count; ++i) {
    if (list.List(i) == text) return i;
  }
  return -1;
}

}  // namespace pw
