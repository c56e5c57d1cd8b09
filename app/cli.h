// kelvane-cli: one run exactly as the window's Start does it, for scripted use.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/file_version.h"
#include "platform/path_names.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/system_info.h"

namespace kelvane {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRunFailed = 1;
inline constexpr int kExitNothingFound = 1;  // find: no installation
inline constexpr int kExitNotIcq = 2;        // wrong version, or no ICQ folder
inline constexpr int kExitUsage = 64;

struct CliPlatform {
  FileSystem& fs;
  Resources& resources;
  SystemInfo& system;
  Profile& profile;
  Registry& registry;
  PathNames& paths;
  FileVersions& versions;
  std::string program_folder;  // ends in a backslash
};

struct CliResult {
  int exit_code;
  std::string output;  // UTF-8, lines ended by CR LF
};

CliResult RunCli(const std::vector<std::string>& args, CliPlatform& platform);

}  // namespace kelvane
