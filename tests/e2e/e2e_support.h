// The harness of the tests under Wine: scratch folders, links, files held open, demo
// installations and kelvane-cli.exe. Every test program that links it gives the prefix's hosts
// file back as it found it, with Kelvane's copy beside it.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "tools/demo_icq/demo_icq.h"

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
// Removes a file, a link or a folder with everything in it, as Linux does: Wine cannot remove
// a link to a folder.
void RemoveWithLinux(const std::string& path);

// Opens the file as another program that holds it would: for reading, sharing what it is
// given and never deletion. Close it with a win32::Handle.
HANDLE Hold(const std::string& path, DWORD sharing);

std::string ReadBytes(const std::string& path);  // "<missing>" when there is nothing to read
void WriteBytes(const std::string& path, const std::string& bytes);
void MakeDemo(const std::string& folder, const demo::DemoIcqOptions& options = {});
std::string HostsPath();

struct ProgramResult {
  int exit_code;
  std::string output;  // standard output and error
};

ProgramResult Cli(const std::vector<std::string>& args);

using Keys = std::map<std::string, std::string>;

// kvn.ini in dir with the keys; its path.
std::string Settings(const TempFolder& dir, const Keys& keys);

// apply --folder folder --settings settings, the report in English.
ProgramResult Apply(const std::string& folder, const std::string& settings);

}  // namespace kelvane::testing
