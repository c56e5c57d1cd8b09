// Running the real programs under Wine and looking at what they left on disk.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tools/demo_icq/demo_icq.h"

namespace kelvane::testing {

// A new empty folder below the temporary folder, ending in a backslash; removed with
// everything in it when the object goes.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The folder of the running test program, where the tools and kelvane-cli.exe are built.
std::string BuildFolder();

struct ProgramResult {
  int exit_code;
  std::string output;
};

// Runs a program of the build folder with the given arguments and waits for it.
ProgramResult RunProgram(const std::string& exe, const std::vector<std::string>& args);

void MakeDemo(const std::string& folder, const demo::DemoIcqOptions& options = {});

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// Another process holds the file open without delete sharing while the object lives.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path);
  ~HeldFile();

 private:
  PROCESS_INFORMATION process_{};
};

}  // namespace kelvane::testing
