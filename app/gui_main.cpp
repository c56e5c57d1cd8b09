// kelvane.exe: the window entry point.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/win32_services.h"
#include "app/window_run.h"
#include "platform/win32/process.h"
#include "platform/win32/system_library.h"
#include "ui/win32/main_window_view.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  using namespace kelvane;
  win32::RestrictDllSearchToSystem32();
  win32::NoSystemErrorBoxes();
  // The file chooser hands its folders to handlers that may be COM objects, which need this
  // thread to be an apartment.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  InitCommonControls();

  Win32Services services;
  WindowRun run(services.platform);

  ui::view::MainWindowView view(instance);
  if (!view.CreateFrame())
    return 1;
  ui::MainWindow model(view, run);
  // Loaded before it is shown, so English never shows the German design texts.
  model.Load(win32::CommandLineText(), services.system.NativeLanguageName());
  view.Build(model);
  view.Show(show);
  return view.RunMessageLoop();
}
