// kelvane-cli: one run exactly as the window's Start does it, for scripted use.
#pragma once

#include <string>
#include <vector>

#include "app/app_platform.h"

namespace kelvane {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRunFailed = 1;
inline constexpr int kExitNothingFound = 1;  // find: no installation
inline constexpr int kExitNotIcq = 2;        // wrong version, or no ICQ folder
inline constexpr int kExitUsage = 64;

// UTF-8 texts, lines ended by CR LF.
struct CliResult {
  int exit_code;
  std::string output;       // for standard output
  std::string errors = "";  // for standard error
};

CliResult RunCli(const std::vector<std::string>& args, AppPlatform& platform);

}  // namespace kelvane
