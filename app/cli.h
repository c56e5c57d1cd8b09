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

struct CliResult {
  int exit_code;
  std::string output;  // UTF-8, lines ended by CR LF
};

CliResult RunCli(const std::vector<std::string>& args, AppPlatform& platform);

}  // namespace kelvane
