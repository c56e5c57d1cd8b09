// kelvane-cli.exe: the console entry point.
#include "app/cli.h"
#include "platform/win32/process.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_install.h"
#include "platform/win32/win32_platform.h"

int wmain() {
  using namespace kelvane;
  win32::RestrictDllSearchToSystem32();
  win32::Win32FileSystem fs;
  win32::Win32Resources resources;
  win32::Win32SystemInfo system;
  win32::Win32Profile profile;
  win32::Win32Registry registry;
  win32::Win32PathNames paths;
  win32::Win32FileVersions versions;
  AppPlatform platform{fs,       resources, system,   profile,
                       registry, paths,     versions, win32::ProgramFolder()};
  CliResult result = RunCli(win32::CommandLineArguments(), platform);
  win32::PrintText(result.output);
  return result.exit_code;
}
