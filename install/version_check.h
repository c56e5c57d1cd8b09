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

// Runs the tweak run on the folder (the folder field's text, with or without its trailing
// backslash) only when "ICQ.exe" and "MCore.dll" both carry the required version. Otherwise
// raises WrongVersion and changes nothing on disk. version_text is left for the report: the
// short form ("7.0 Build #1234") when both files carry the same other version, else empty.
void CheckVersionAndRun(const std::string& folder_text,
                        FileVersions& versions,
                        RunContext& run,
                        std::string& version_text);

}  // namespace kelvane
