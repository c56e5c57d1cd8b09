#include "ui/win32/open_address.h"

#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <thread>

#include "platform/win32/text.h"

namespace kelvane::ui::view {
namespace {

// Holds one reference to a COM object and lets it go.
template <typename T>
class Com {
 public:
  Com() = default;
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  ~Com() {
    if (p_)
      p_->Release();
  }
  T* operator->() const { return p_; }
  T** put() { return &p_; }
  void** put_void() { return reinterpret_cast<void**>(&p_); }

 private:
  T* p_ = nullptr;
};

// A text the shell's scripting calls take, let go with the call.
class Text {
 public:
  explicit Text(const std::wstring& text) : bstr_(SysAllocString(text.c_str())) {}
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() { SysFreeString(bstr_); }
  BSTR get() const { return bstr_; }
  VARIANT variant() const {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = bstr_;
    return v;
  }

 private:
  BSTR bstr_;
};

// The shell of the desktop the user works on, which Explorer runs with the signed-in user's
// rights, and the desktop's window.
bool DesktopShell(Com<IShellDispatch2>& shell, HWND& desktop_window) {
  Com<IShellWindows> windows;
  Com<IDispatch> desktop;
  Com<IServiceProvider> services;
  Com<IShellBrowser> browser;
  Com<IShellView> view;
  Com<IDispatch> background;
  Com<IShellFolderViewDual> folder_view;
  Com<IDispatch> application;
  VARIANT none;
  VariantInit(&none);
  long window = 0;
  const bool found =
      SUCCEEDED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                 IID_IShellWindows, windows.put_void())) &&
      windows->FindWindowSW(&none, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, desktop.put()) ==
          S_OK &&
      SUCCEEDED(desktop->QueryInterface(IID_IServiceProvider, services.put_void())) &&
      SUCCEEDED(
          services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put_void())) &&
      SUCCEEDED(browser->QueryActiveShellView(view.put())) &&
      SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.put_void())) &&
      SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folder_view.put_void())) &&
      SUCCEEDED(folder_view->get_Application(application.put())) &&
      SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.put_void()));
  desktop_window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(window));
  return found;
}

// Has the desktop's shell open the address; false where there is no such shell or it refuses.
bool OpenThroughDesktop(const std::wstring& address, const std::wstring& working_folder) {
  Com<IShellDispatch2> shell;
  HWND desktop_window = nullptr;
  if (!DesktopShell(shell, desktop_window))
    return false;
  // Only the program in front may bring another to the front: Explorer is let to, for the browser.
  DWORD explorer = 0;
  if (GetWindowThreadProcessId(desktop_window, &explorer))
    AllowSetForegroundWindow(explorer);
  const Text file(address), folder(working_folder), verb(L"Open"), none(L"");
  VARIANT show;
  VariantInit(&show);
  show.vt = VT_I4;
  show.lVal = SW_SHOWNORMAL;
  return SUCCEEDED(
      shell->ShellExecute(file.get(), none.variant(), folder.variant(), verb.variant(), show));
}

}  // namespace

// Kelvane runs elevated, and so would a browser it started itself: the desktop's shell opens the
// address with the user's own rights. Where there is no such shell the address is opened here.
// Calls into Explorer wait for it, so they go on a thread of their own: a hung Explorer does not
// hold the window.
void OpenAddress(HWND owner, const std::string& address, const std::string& working_folder) {
  using kelvane::win32::Widen;
  std::thread([owner, address = Widen(address), folder = Widen(working_folder)] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    if (!OpenThroughDesktop(address, folder))
      ShellExecuteW(owner, L"Open", address.c_str(), L"", folder.c_str(), SW_SHOWNORMAL);
    CoUninitialize();
  }).detach();
}

}  // namespace kelvane::ui::view
