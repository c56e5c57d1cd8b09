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

void CheckVersionAndRun(const std::string& folder_text,
                        FileVersions& versions,
                        RunContext& run,
                        std::string& version_text) {
  const std::string folder = WithBackslash(folder_text);
  version_text = GetFileVersionText(versions, folder + "ICQ.exe");
  const std::string main_version = GetFileVersionText(versions, folder + "MCore.dll");
  if (version_text == kRequiredIcqVersion && main_version == kRequiredIcqVersion) {
    ApplyTweaks(folder, run);
    return;
  }
  // Only one consistent installation of another build is named in the report.
  version_text = main_version == version_text && !version_text.empty()
                     ? ShortVersionText(version_text)
                     : std::string();
  run.status.wrong_version = true;
}

}  // namespace kelvane
