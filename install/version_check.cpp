#include "install/version_check.h"

#include "engine/tweak_run.h"
#include "install/icq_folder.h"

namespace kelvane {
namespace {

// Major, ".", minor, " Build #", revision; the build number is dropped.
std::string ShortVersionText(const std::string& version) {
  const size_t revision = version.find_last_of('.');
  const size_t build = version.find_last_of('.', revision - 1);
  return version.substr(0, build) + " Build #" + version.substr(revision + 1);
}

}  // namespace

std::string GetFileVersionText(FileVersions& versions, const std::string& path) {
  const auto version = versions.Read(path);
  if (!version)
    return {};
  std::string text;
  for (uint16_t number : *version) {
    if (!text.empty())
      text += '.';
    text += std::to_string(number);
  }
  return text;
}

IcqVersions ReadIcqVersions(FileVersions& versions, const std::string& folder) {
  return {GetFileVersionText(versions, folder + kIcqProgram),
          GetFileVersionText(versions, folder + kIcqCore)};
}

RunResult CheckVersionAndRun(const TweakOptions& options,
                             FileVersions& versions,
                             FileSystem& fs,
                             Resources& resources,
                             SystemInfo& system) {
  RunResult result;
  const std::string folder = WithBackslash(options.icq_folder);
  const IcqVersions found = ReadIcqVersions(versions, folder);
  if (found.required()) {
    result.version_text = found.program;
    RunContext run{fs, resources, system, options, result.status};
    ApplyTweaks(folder, run);
    return result;
  }
  // Only one consistent installation of another build is named in the report.
  if (found.core == found.program && !found.program.empty())
    result.version_text = ShortVersionText(found.program);
  result.status.wrong_version = true;
  return result;
}

}  // namespace kelvane
