// A demo ICQ 7.1 installation: the two program files with real version resources, ICQ-like
// files at the twelve places Kelvane rewrites, and ICQ's update and ad configuration folders.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/tweak_options.h"
#include "platform/file_system.h"
#include "platform/resources.h"

namespace kelvane::demo {

using Version = std::array<uint16_t, 4>;

std::optional<Version> ParseVersion(const std::string& text);

// Sets the file and product version of a PE file's fixed version information; the product
// version is the file version unless given.
bool SetFileVersion(std::string& pe,
                    const Version& version,
                    const std::optional<Version>& product = std::nullopt);

struct DemoIcqOptions {
  Version icq_version{7, 1, 0, 2096};
  Version mcore_version{7, 1, 0, 2096};
  bool german = true;
  bool config_files = true;
};

// The file at the target's place as a run in this state writes it, but with the template's own
// line ends after its end anchor: with no option applied, the file ICQ itself ships.
std::string IcqFile(Resources& templates, uint16_t template_id, const TweakOptions& state);

// Lays out the installation in folder (ending in a backslash). The stub program files are
// read from stub_folder. False when anything could not be written.
bool MakeDemoIcq(FileSystem& fs,
                 Resources& templates,
                 const std::string& folder,
                 const std::string& stub_folder,
                 const DemoIcqOptions& options);

}  // namespace kelvane::demo
