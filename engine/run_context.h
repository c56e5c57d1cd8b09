// Everything one tweak run works with: the platform, a snapshot of the options, the status.
#pragma once

#include "engine/run_status.h"
#include "engine/tweak_options.h"
#include "platform/file_system.h"
#include "platform/resources.h"
#include "platform/system_info.h"

namespace kelvane {

struct RunContext {
  FileSystem& fs;
  Resources& resources;
  SystemInfo& system;
  const TweakOptions& options;
  RunStatus& status;
};

}  // namespace kelvane
