// Path names as the file system spells them.
#pragma once

#include <string>

namespace kelvane {

class PathNames {
 public:
  virtual ~PathNames() = default;
  // The path with every short 8.3 name replaced by its long name, of any length; the path
  // unchanged when it does not exist or the call fails.
  virtual std::string LongPath(const std::string& path) = 0;
  // The path made whole against the working folder; unchanged when the call fails.
  virtual std::string FullPath(const std::string& path) = 0;
};

}  // namespace kelvane
