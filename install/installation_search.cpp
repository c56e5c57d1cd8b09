#include "install/installation_search.h"

#include <algorithm>

#include "install/icq_folder.h"

namespace kelvane {
namespace {

// A failed read leaves the source text as the previous entry left it.
void ReadRegistryString(Registry& registry, const SearchEntry& entry, std::string& target) {
  if (auto data = registry.ReadString(RegistryRoot::LocalMachine, entry.key, entry.value_name))
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

const std::array<SearchEntry, 2> kSearchTable = {{
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
     "{88EB38EF-4D2C-436D-ABD3-56B232674062}",
     "InstallLocation"},
    {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ICQ.exe", "Path", true},
}};

std::optional<std::string> GetICQ7Path(SearchPlatform& platform) {
  std::string source;
  for (const SearchEntry& entry : kSearchTable) {
    ReadRegistryString(platform.registry, entry, source);
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
