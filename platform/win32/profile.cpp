#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <cwchar>
#include <optional>
#include <vector>

#include "platform/win32/text.h"

namespace kelvane::win32 {
namespace {

std::string ToAnsi(const std::wstring& text) {
  const int size = static_cast<int>(text.size());
  std::string out(WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr),
                  '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), size, out.data(), static_cast<int>(out.size()),
                      nullptr, nullptr);
  return out;
}

std::wstring FromAnsi(const std::string& bytes) {
  const int size = static_cast<int>(bytes.size());
  std::wstring out(MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, out.data(), static_cast<int>(out.size()));
  return out;
}

// Whether a file that is not UTF-16 keeps the text letter for letter. The calls write it there in
// the ANSI code page, with "?" or a look-alike ("L" for "Ł") for a letter the code page
// lacks: a folder read back so names another folder, or none. The round trip shows either.
bool FitsAnsiFile(const std::wstring& text) {
  return FromAnsi(ToAnsi(text)) == text;
}

// Makes the file UTF-16, in which the calls keep every letter, with the text it holds; a missing
// file becomes the byte-order mark alone. False, the file as it was, when that cannot be done.
bool MakeUtf16(Win32FileSystem& fs, const std::string& path) {
  const std::optional<std::string> bytes = fs.FileExists(path) ? fs.ReadFile(path) : "";
  if (!bytes)
    return false;
  if (bytes->starts_with("\xFF\xFE") || bytes->starts_with("\xFE\xFF"))
    return true;
  // Behind a UTF-8 mark, the text an editor saved as UTF-8.
  const bool utf8 = bytes->starts_with("\xEF\xBB\xBF");
  const std::wstring text = L"\xFEFF" + (utf8 ? Widen(bytes->substr(3)) : FromAnsi(*bytes));
  return fs.WriteFile(path, std::string_view(reinterpret_cast<const char*>(text.data()),
                                             text.size() * sizeof(wchar_t)));
}

}  // namespace

std::string Win32Profile::Read(const std::string& file,
                               const std::string& section,
                               const std::string& key) {
  std::vector<wchar_t> buffer(9999);
  const DWORD n =
      GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", buffer.data(),
                               static_cast<DWORD>(buffer.size()), FullPath(file).c_str());
  return Narrow(std::wstring(buffer.data(), n));
}

bool Win32Profile::HasSection(const std::string& file, const std::string& section) {
  // The names, each ended by a zero; a list that fills the buffer may have been cut short.
  std::vector<wchar_t> names(4096);
  DWORD n;
  while ((n = GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()),
                                             FullPath(file).c_str())) >= names.size() - 2)
    names.resize(names.size() * 2);
  const std::wstring wanted = Widen(section);
  for (size_t i = 0; i < n; i += wcslen(&names[i]) + 1) {
    if (CompareStringOrdinal(&names[i], -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL)
      return true;
  }
  return false;
}

void Win32Profile::Write(const std::string& file,
                         const std::string& section,
                         const std::string& key,
                         const std::string& value) {
  Win32FileSystem fs;
  const std::string path = Narrow(FullPath(file));
  // Kelvane runs elevated, and whoever may write the program's folder may make kvn.ini a link:
  // what a link points to is never written.
  if (fs.IsLink(path) || (!FitsAnsiFile(Widen(section + key + value)) && !MakeUtf16(fs, path)))
    return;
  WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                             Widen(path).c_str());
}

}  // namespace kelvane::win32
