#include "engine/installation_status.h"

#include <algorithm>

#include "engine/marking.h"
#include "platform/confined_file_system.h"

namespace kelvane {
namespace {

// What one file shows of each flag: on or off when every state that gives its values agrees;
// nullopt when the file does not tell. Only the flags it shows need trying.
std::array<std::optional<bool>, kOptionFlags.size()> Shown(const FileStatus& file) {
  const GeneratorTable& table = file.target->generator->table();
  const OptionFlagSet& shown_flags = FlagsShown(table);
  OptionFlagSet seen_on{}, seen_off{};
  const int count = std::count(shown_flags.begin(), shown_flags.end(), true);
  for (unsigned bits = 0; bits < (1u << count); ++bits) {
    const TweakOptions state = CustomState(bits, shown_flags);
    const bool gives = std::all_of(file.values.begin(), file.values.end(), [&](const auto& v) {
      return ValueFor(table, v.first, state) == v.second;
    });
    for (size_t i = 0; gives && i < kOptionFlags.size(); ++i)
      (state.*kOptionFlags[i].flag ? seen_on : seen_off)[i] = true;
  }
  std::array<std::optional<bool>, kOptionFlags.size()> shown;
  for (size_t i = 0; i < kOptionFlags.size(); ++i) {
    if (shown_flags[i] && seen_on[i] != seen_off[i])
      shown[i] = seen_on[i];
  }
  return shown;
}

std::vector<std::pair<const OptionFlag*, InEffect>> OptionsInEffect(
    const std::vector<FileStatus>& files) {
  std::vector<std::pair<const OptionFlag*, InEffect>> options;
  std::vector<std::array<std::optional<bool>, kOptionFlags.size()>> shown;
  for (const FileStatus& file : files)
    shown.push_back(file.recognised ? Shown(file) : decltype(shown)::value_type{});
  for (size_t i = 0; i < kOptionFlags.size(); ++i) {
    bool any_file = false, on = false, off = false;
    for (size_t f = 0; f < files.size(); ++f) {
      any_file = any_file || FlagsShown(files[f].target->generator->table())[i];
      on = on || shown[f][i] == true;
      off = off || shown[f][i] == false;
    }
    if (any_file) {
      options.emplace_back(&kOptionFlags[i], on && off ? InEffect::Mixed
                                             : on      ? InEffect::On
                                             : off     ? InEffect::Off
                                                       : InEffect::Unknown);
    }
  }
  return options;
}

FileStatus ReadFileStatus(FileSystem& fs, const std::string& folder, const TargetFile& t) {
  FileStatus status{&t, false, false, ReadKept(fs, folder, t.path).kind, {}};
  const std::optional<std::string> bytes = fs.ReadFile(folder + std::string(t.path));
  status.present = bytes || fs.FileExists(folder + std::string(t.path));
  if (std::optional<MarkedFile> marked =
          bytes ? MarkFile(t.generator->table(), *bytes) : std::nullopt) {
    status.recognised = true;
    // A marker that stands twice holds one value: it is told once.
    for (auto& [marker, value] : marked->values) {
      if (std::none_of(status.values.begin(), status.values.end(),
                       [&](const auto& told) { return told.first == marker; }))
        status.values.emplace_back(marker, std::move(value));
    }
  }
  return status;
}

std::optional<AdHostMarks> HostsEntries(FileSystem& fs, SystemInfo& system) {
  return ActiveAdHostEntriesIn(fs, HostsFilePath(system));
}

}  // namespace

bool InstallationStatus::AllRecognised() const {
  for (const FileStatus& file : files) {
    if (file.present && !file.recognised)
      return false;
  }
  return true;
}

InstallationStatus ReadInstallationStatus(FileSystem& outer,
                                          SystemInfo& system,
                                          const std::string& folder) {
  ConfinedFileSystem fs(outer, folder);
  InstallationStatus status{};
  for (const TargetFile& t : kTargetFiles)
    status.files.push_back(ReadFileStatus(fs, folder, t));
  status.options = OptionsInEffect(status.files);
  status.locks = ReadResetLocks(fs, folder);
  status.hosts_entries = HostsEntries(fs, system);
  return status;
}

}  // namespace kelvane
