// The file version in a program file's version resource.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kelvane {

// Major, minor, build, revision: the fixed file version, not the product version.
using FileVersion = std::array<uint16_t, 4>;

class FileVersions {
 public:
  virtual ~FileVersions() = default;
  // Nullopt when the file is missing, has no version resource or it cannot be read.
  virtual std::optional<FileVersion> Read(const std::string& path) = 0;
};

}  // namespace kelvane
