// demo-icq.exe DIR [--version A.B.C.D] [--mcore-version A.B.C.D] [--no-german]
//              [--no-configfiles] [--register]
#include <windows.h>

#include "install/installation_search.h"
#include "platform/win32/process.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "tools/demo_icq/demo_icq.h"

namespace {

using namespace kelvane;

// Where ICQ's installer records its folder, the first place the search looks, in the registry
// view of 32-bit programs.
bool RegisterInstallLocation(const std::string& folder) {
  const SearchEntry& record = kSearchTable[0];
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, win32::Widen(record.key).c_str(), 0, nullptr, 0,
                      KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const std::wstring value = win32::Widen(folder);
  LONG result = RegSetValueExW(key, win32::Widen(record.value_name).c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

int Usage() {
  win32::PrintText(
      "usage: demo-icq DIR [--version A.B.C.D] [--mcore-version A.B.C.D] [--no-german] "
      "[--no-configfiles] [--register]\r\n");
  return 64;
}

}  // namespace

int wmain() {
  auto args = win32::CommandLineArguments();
  if (args.empty())
    return Usage();
  const std::string folder = WithBackslash(args[0]);
  demo::DemoIcqOptions options;
  bool register_folder = false;
  bool mcore_given = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if ((a == "--version" || a == "--mcore-version") && i + 1 < args.size()) {
      auto version = demo::ParseVersion(args[++i]);
      if (!version)
        return Usage();
      (a == "--version" ? options.icq_version : options.mcore_version) = *version;
      mcore_given |= a == "--mcore-version";
    } else if (a == "--no-german") {
      options.german = false;
    } else if (a == "--no-configfiles") {
      options.config_files = false;
    } else if (a == "--register") {
      register_folder = true;
    } else {
      return Usage();
    }
  }
  // One consistent installation unless the core library is given its own version.
  if (!mcore_given)
    options.mcore_version = options.icq_version;
  win32::Win32FileSystem fs;
  win32::Win32Resources templates;
  if (!demo::MakeDemoIcq(fs, templates, folder, win32::ProgramFolder(), options)) {
    win32::PrintText("could not make the demo installation in " + folder + "\r\n");
    return 1;
  }
  if (register_folder && !RegisterInstallLocation(folder)) {
    win32::PrintText("could not register " + folder + "\r\n");
    return 1;
  }
  return 0;
}
