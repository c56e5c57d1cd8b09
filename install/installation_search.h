// Finding the installed ICQ 7 when the settings hold no usable folder.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/path_names.h"
#include "platform/registry.h"

namespace kelvane {

struct SearchPlatform {
  FileSystem& fs;
  Registry& registry;
  PathNames& paths;
};

// One registry value where an ICQ installation may be recorded, below HKEY_LOCAL_MACHINE.
struct SearchEntry {
  const char* key;
  const char* value_name;
  bool names_folder = false;  // the value names the folder itself, not a file in it
};

// The uninstall record, then the application path record, in the order they are tried.
extern const std::array<SearchEntry, 2> kSearchTable;

// The first place that holds ICQ, as the folder field shows it: without the trailing
// backslash. Nullopt when no place does.
std::optional<std::string> GetICQ7Path(SearchPlatform& platform);

// The stored "ICQPath" text unchanged when it names an ICQ folder, else what the search finds.
std::optional<std::string> ChooseIcqFolder(SearchPlatform& platform, const std::string& stored);

}  // namespace kelvane
