// The harness of the tests under Wine: scratch folders, links and files held open.
#pragma once

#include <windows.h>

#include <string>

namespace kelvane::testing {

// A new empty folder below the temporary folder, ending in a backslash; removed with
// everything in it, links included, when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Wine cannot make a junction, but a Linux symbolic link shows to Windows programs as one.
void MakeLinuxLink(const std::string& path, const std::string& target);

// Opens the file as another program that holds it would: for reading and writing, sharing what
// it is given and never deletion. Close it with a win32::Handle.
HANDLE Hold(const std::string& path, DWORD sharing);

std::string ReadBytes(const std::string& path);  // "<missing>" when there is nothing to read
void WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace kelvane::testing
