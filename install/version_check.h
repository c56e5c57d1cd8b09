// Kelvane rewrites files of exactly one ICQ build and refuses to touch any other.
#pragma once

#include <string>

#include "engine/run_context.h"
#include "platform/file_version.h"

namespace kelvane {

inline constexpr char kRequiredIcqVersion[] = "7.1.0.2096";

// "major.minor.build.revision" in unsigned decimal; empty when the file has no usable
// version resource.
std::string GetFileVersionText(FileVersions& versions, const std::string& path);

// The versions of "ICQ.exe" and "MCore.dll" in a folder ending in a backslash, as
// GetFileVersionText gives them.
struct IcqVersions {
  std::string program, core;
  bool required() const { return program == kRequiredIcqVersion && core == kRequiredIcqVersion; }
};
IcqVersions ReadIcqVersions(FileVersions& versions, const std::string& folder);

// What a press of Start comes to, for the report.
struct RunResult {
  RunStatus status;  // the run's failure, or wrong_version when the check refused the folder
  // ICQ.exe's version; on a wrong version the short form ("7.0 Build #1234") when both files
  // carry the same other version, else empty.
  std::string version_text;
};

// Runs the tweak run on the options' folder (the folder field's text, with or without its
// trailing backslash) only when "ICQ.exe" and "MCore.dll" both carry the required version.
// Otherwise sets wrong_version and changes nothing on disk.
RunResult CheckVersionAndRun(const TweakOptions& options,
                             FileVersions& versions,
                             FileSystem& fs,
                             Resources& resources,
                             SystemInfo& system);

}  // namespace kelvane
