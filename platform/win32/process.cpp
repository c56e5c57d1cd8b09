#include "platform/win32/process.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>

#include "platform/win32/text.h"

namespace kelvane::win32 {

namespace {

// A folder typed in quotes with its trailing backslash, "C:\ICQ7.1\", would otherwise end in a
// quote and take the arguments after it along: Windows reads that backslash as escaping the
// closing quote. No argument holds a quote of its own, so where such a quote ends an argument
// the backslash is kept for the folder and the quote closes.
std::wstring WithTrailingBackslashesKept(std::wstring line) {
  bool quoted = false;
  size_t backslashes = 0;
  for (size_t at = 0; at < line.size(); ++at) {
    if (line[at] == L'\\') {
      ++backslashes;
      continue;
    }
    if (line[at] == L'"') {
      const bool ends = at + 1 == line.size() || line[at + 1] == L' ' || line[at + 1] == L'\t';
      if (quoted && ends && backslashes % 2 == 1) {
        line.insert(at++, 1, L'\\');
        ++backslashes;
      }
      quoted = backslashes % 2 == 0 ? !quoted : quoted;
    }
    backslashes = 0;
  }
  return line;
}

}  // namespace

std::vector<std::string> CommandLineArguments() {
  int count = 0;
  wchar_t** argv =
      CommandLineToArgvW(WithTrailingBackslashesKept(GetCommandLineW()).c_str(), &count);
  std::vector<std::string> args;
  for (int i = 1; argv && i < count; ++i)
    args.push_back(Narrow(argv[i]));
  LocalFree(argv);
  return args;
}

std::string CommandLineText() {
  std::wstring line = GetCommandLineW();
  size_t start = 0;
  if (!line.empty() && line[0] == L'"') {
    start = line.find(L'"', 1);
    start = start == std::wstring::npos ? line.size() : start + 1;
  } else {
    start = std::min(line.find_first_of(L" \t"), line.size());
  }
  std::wstring args = line.substr(start);
  const size_t first = args.find_first_not_of(L" \t");
  if (first == std::wstring::npos)
    return {};
  return Narrow(args.substr(first, args.find_last_not_of(L" \t") - first + 1));
}

void NoSystemErrorBoxes() {
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD n;
  // Grows the buffer until the whole path fits.
  while ((n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
         path.size()) {
    path.resize(path.size() * 2);
  }
  path.resize(n);
  return Narrow(path.substr(0, path.find_last_of(L'\\') + 1));
}

void PrintText(const std::string& text, DWORD std_handle) {
  // An empty write on a pipe reads at the other end as its close.
  if (text.empty())
    return;
  HANDLE out = GetStdHandle(std_handle);
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(out, &mode)) {
    std::wstring wide = Widen(text);
    WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}

}  // namespace kelvane::win32
