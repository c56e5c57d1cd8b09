#include "engine/installation_status.h"

#include <algorithm>
#include <map>

#include "engine/marking.h"
#include "platform/confined_file_system.h"

namespace kelvane {
namespace {

using Flags = std::array<bool, kOptionFlags.size()>;

// The Custom state with just the given flags on, of those chosen by mask.
TweakOptions CustomState(unsigned bits, const Flags& chosen) {
  TweakOptions o;
  for (size_t i = 0, bit = 0; i < kOptionFlags.size(); ++i)
    o.*kOptionFlags[i].flag = chosen[i] && (bits & (1u << bit++));
  return o;
}

bool SameValues(const GeneratorTable& table, const TweakOptions& a, const TweakOptions& b) {
  for (const StandardValue& v : table.standard) {
    if (ValueFor(table, v.marker, a) != ValueFor(table, v.marker, b))
      return false;
  }
  return true;
}

// The flags that change anything in the file in some state: few enough states to try each.
const Flags& FlagsShown(const GeneratorTable& table) {
  static std::map<const GeneratorTable*, Flags> known;
  auto [at, added] = known.try_emplace(&table);
  Flags all;
  all.fill(true);
  for (unsigned bits = 0; added && bits < (1u << kOptionFlags.size()); ++bits) {
    const TweakOptions state = CustomState(bits, all);
    for (size_t i = 0; i < kOptionFlags.size(); ++i) {
      TweakOptions other = state;
      other.*kOptionFlags[i].flag = !(state.*kOptionFlags[i].flag);
      at->second[i] = at->second[i] || !SameValues(table, state, other);
    }
  }
  return at->second;
}

// What one file shows of each flag: on or off when every state that gives its values agrees;
// nullopt when the file does not tell. Only the flags it shows need trying.
std::array<std::optional<bool>, kOptionFlags.size()> Shown(const FileStatus& file) {
  const GeneratorTable& table = file.target->generator->table();
  const Flags& shown_flags = FlagsShown(table);
  Flags seen_on{}, seen_off{};
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
