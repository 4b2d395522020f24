#pragma once

#include <string_view>

namespace pw::service {

// Whether two Windows file paths name the same file as the file system compares them: letter
// case aside, "/" as "\".
bool SamePath(std::string_view a, std::string_view b);

}  // namespace pw::service
