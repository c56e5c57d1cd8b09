// Every platform service the programs use, created once by each entry point.
#pragma once

#include <string>

#include "install/installation_search.h"
#include "platform/file_system.h"
#include "platform/file_version.h"
#include "platform/path_names.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/run_lock.h"
#include "platform/system_info.h"

namespace kelvane {

struct AppPlatform {
  FileSystem& fs;
  Resources& resources;
  SystemInfo& system;
  Profile& profile;
  Registry& registry;
  PathNames& paths;
  FileVersions& versions;
  RunLock& run_lock;
  std::string program_folder;  // ends in a backslash

  SearchPlatform Search() { return {fs, registry, paths}; }
};

}  // namespace kelvane
