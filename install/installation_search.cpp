#include "install/installation_search.h"

#include <algorithm>

#include "install/icq_folder.h"

namespace kelvane {
namespace {

using S = SearchSource;

// A failed read leaves the source text as the previous entry left it.
void ReadRegistryString(Registry& registry, const SearchEntry& entry, std::string& target) {
  if (auto data = registry.ReadString(entry.root, entry.text, entry.value_name))
    target = *data;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Turns the raw text of an entry into a folder text ending in a backslash.
std::string CleanFolderText(PathNames& paths, const SearchEntry& entry, std::string folder) {
  folder.erase(std::remove(folder.begin(), folder.end(), '"'), folder.end());
  folder = paths.LongPath(folder);
  if (entry.names_folder)
    folder = WithBackslash(folder);
  if (EndsWith(folder, "ICQ7.0") || EndsWith(folder, "ICQ7"))
    folder += '\\';
  // Drops a file name, or the last folder name of a text without a trailing backslash.
  const size_t sep = folder.find_last_of('\\');
  folder = sep == std::string::npos ? std::string() : folder.substr(0, sep + 1);
  return WithBackslash(folder);
}

}  // namespace

const std::array<SearchEntry, 12> kSearchTable = {{
    {S::ProgramFolder, nullptr},
    {S::FixedFolder, "C:\\Program Files\\ICQ7\\"},
    {S::FixedFolder, "C:\\Program Files\\ICQ7.0\\"},
    {S::FixedFolder, "C:\\Program Files (x86)\\ICQ7\\"},
    {S::FixedFolder, "C:\\Program Files (x86)\\ICQ7.0\\"},
    {S::FixedFolder, "C:\\Programme\\ICQ7\\"},
    {S::FixedFolder, "C:\\Programme\\ICQ7.0\\"},
    {S::RegistryValue,
     "SOFTWARE\\Microsoft\\Internet Explorer\\Extensions\\{88EB38EF-4D2C-436D-ABD3-56B232674062}",
     RegistryRoot::LocalMachine, "Exec"},
    {S::RegistryValue,
     "SOFTWARE\\Microsoft\\Internet Explorer\\Low Rights\\ElevationPolicy\\"
     "{88EB38EF-4D2C-436D-ABD3-56B232674062}",
     RegistryRoot::LocalMachine, "AppPath"},
    {S::RegistryValue, "Software\\America Online\\AOL Diagnostics\\AOLMaximusICQWin321211",
     RegistryRoot::CurrentUser, "ICQ.exe"},
    {S::RegistryValue,
     "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
     "{88EB38EF-4D2C-436D-ABD3-56B232674062}",
     RegistryRoot::LocalMachine, "InstallLocation"},
    {S::RegistryValue, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQ.exe",
     RegistryRoot::LocalMachine, "Path", true},
}};

std::optional<std::string> GetICQ7Path(SearchPlatform& platform) {
  std::string source;
  for (size_t i = kFirstSearchedEntry; i < kSearchTable.size(); ++i) {
    const SearchEntry& entry = kSearchTable[i];
    switch (entry.source) {
      case S::ProgramFolder:
        source = platform.program_folder;
        break;
      case S::FixedFolder:
        source = entry.text;
        break;
      case S::RegistryValue:
        ReadRegistryString(platform.registry, entry, source);
        break;
    }
    const std::string folder = CleanFolderText(platform.paths, entry, source);
    if (IsIcqFolder(platform.fs, folder))
      return folder.substr(0, folder.size() - 1);
  }
  return std::nullopt;
}

std::optional<std::string> ChooseIcqFolder(SearchPlatform& platform, const std::string& stored) {
  if (IsIcqFolder(platform.fs, WithBackslash(stored)))
    return stored;
  return GetICQ7Path(platform);
}

}  // namespace kelvane
