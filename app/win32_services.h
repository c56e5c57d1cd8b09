// The real Windows services behind AppPlatform, made once by each program's entry point.
#pragma once

#include "app/app_platform.h"
#include "platform/win32/process.h"
#include "platform/win32/win32_platform.h"

namespace kelvane {

struct Win32Services {
  win32::Win32FileSystem fs;
  win32::Win32Resources resources;
  win32::Win32SystemInfo system;
  win32::Win32Profile profile;
  win32::Win32Registry registry;
  win32::Win32PathNames paths;
  win32::Win32FileVersions versions;
  win32::Win32RunLock run_lock;
  AppPlatform platform{
      fs, resources, system, profile, registry, paths, versions, run_lock, win32::ProgramFolder()};
};

}  // namespace kelvane
