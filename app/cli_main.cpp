// kelvane-cli.exe: the console entry point.
#include "app/cli.h"
#include "app/win32_services.h"
#include "platform/win32/process.h"
#include "platform/win32/system_library.h"

int wmain() {
  using namespace kelvane;
  win32::RestrictDllSearchToSystem32();
  win32::NoSystemErrorBoxes();
  win32::StopOnlyBetweenRuns();
  Win32Services services;
  CliResult result = RunCli(win32::CommandLineArguments(), services.platform);
  win32::PrintText(result.output);
  win32::PrintText(result.errors, STD_ERROR_HANDLE);
  return result.exit_code;
}
