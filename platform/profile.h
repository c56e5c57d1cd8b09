// Private-profile (INI) files, one key per call, in the system ANSI code page on disk, or in UTF-16
// once a value needs a letter that code page lacks.
#pragma once

#include <string>

namespace kelvane {

class Profile {
 public:
  virtual ~Profile() = default;
  // The key's value, at most 9998 characters; empty when the file, section or key is missing.
  virtual std::string Read(const std::string& file,
                           const std::string& section,
                           const std::string& key) = 0;
  // Whether the file holds the section, in any case: as these calls read the file, not as its
  // bytes look (a mention in a comment is no section; behind a UTF-8 mark a first line is none).
  virtual bool HasSection(const std::string& file, const std::string& section) = 0;
  // Creates file, section and key as needed; the value reads back exactly, whatever its letters.
  // A failure, or a file that is a link, leaves the file as it was.
  virtual void Write(const std::string& file,
                     const std::string& section,
                     const std::string& key,
                     const std::string& value) = 0;
};

}  // namespace kelvane
