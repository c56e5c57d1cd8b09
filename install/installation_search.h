// Finding the installed ICQ 7 when the settings hold no usable folder.
#pragma once

#include <array>
#include <cstddef>
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
  std::string program_folder;  // ends in a backslash
};

enum class SearchSource { ProgramFolder, FixedFolder, RegistryValue };

// One place where an ICQ installation may be recorded or lie.
struct SearchEntry {
  SearchSource source;
  const char* text;  // the fixed folder, or the registry key
  RegistryRoot root = RegistryRoot::LocalMachine;
  const char* value_name = nullptr;
  bool names_folder = false;  // the value names the folder itself, not a file in it
};

// In the order they are tried.
extern const std::array<SearchEntry, 12> kSearchTable;
// The walk consults only the uninstall record and the application path record; the places
// before them stay in the table for a walk that starts earlier.
inline constexpr size_t kFirstSearchedEntry = 10;

// The first place that holds ICQ, as the folder field shows it: without the trailing
// backslash. Nullopt when no place does.
std::optional<std::string> GetICQ7Path(SearchPlatform& platform);

// The stored "ICQPath" text unchanged when it names an ICQ folder, else what the search finds.
std::optional<std::string> ChooseIcqFolder(SearchPlatform& platform, const std::string& stored);

}  // namespace kelvane
