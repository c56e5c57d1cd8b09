// kelvane.exe: the window entry point.
#include <windows.h>

#include <commctrl.h>

#include "app/window_run.h"
#include "platform/win32/process.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_install.h"
#include "platform/win32/win32_platform.h"
#include "ui/win32/dpi.h"
#include "ui/win32/main_window_view.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  using namespace kelvane;
  win32::RestrictDllSearchToSystem32();
  ui::win32::DeclarePerMonitorDpiAware();
  InitCommonControls();

  win32::Win32FileSystem fs;
  win32::Win32Resources resources;
  win32::Win32SystemInfo system;
  win32::Win32Profile profile;
  win32::Win32Registry registry;
  win32::Win32PathNames paths;
  win32::Win32FileVersions versions;
  AppPlatform platform{fs,       resources, system,   profile,
                       registry, paths,     versions, win32::ProgramFolder()};
  WindowRun run(platform);

  ui::win32::MainWindowView view(instance);
  if (!view.CreateFrame())
    return 1;
  ui::MainWindow model(view, run);
  // Loaded before it is shown, so English never shows the German design texts.
  model.Load(win32::CommandLineText(), system.NativeLanguageName());
  view.Build(model);
  view.Show(show);
  return view.RunMessageLoop();
}
