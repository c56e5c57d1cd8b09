// A template made from the file an ICQ installation holds: each option marker set in at its
// spot, every other byte the user's own.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/generators.h"

namespace kelvane {

struct MarkedFile {
  std::string text;  // the file with the option markers in place of their values
  // The value each spot held, in the order of the table's spots.
  std::vector<std::pair<std::string_view, std::string>> values;
};

// The file with every option marker of the table set in at its spot. Nullopt when the file is
// not recognised: a spot is missing, found twice, holds a value its marker does not know, a
// marker that stands twice holds two values, or more than blanks and line ends follow the
// file's last element or line.
std::optional<MarkedFile> MarkFile(const GeneratorTable& table, std::string_view file);

}  // namespace kelvane
