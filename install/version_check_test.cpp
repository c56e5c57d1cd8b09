#include "install/version_check.h"

#include <gtest/gtest.h>

#include "engine/tweak_run.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_install.h"
#include "tests/fakes/fake_platform.h"
#include "tests/template_test_support.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;

const std::string kFolder = "C:\\ICQ7.1\\";
constexpr FileVersion kRight = {7, 1, 0, 2096};

TEST(VersionCheck, RunsOnlyOnTheRequiredBuild) {
  using V = std::optional<FileVersion>;
  const struct {
    V icq, mcore;
    const char* folder_text;
    bool runs;
    const char* version_text;
  } rows[] = {
      {kRight, kRight, "C:\\ICQ7.1", true, "7.1.0.2096"},
      {kRight, kRight, "C:\\ICQ7.1\\", true, "7.1.0.2096"},
      {kRight, FileVersion{7, 1, 0, 2095}, "C:\\ICQ7.1", false, ""},
      {FileVersion{7, 0, 0, 1234}, kRight, "C:\\ICQ7.1", false, ""},
      {FileVersion{7, 0, 0, 1234}, FileVersion{7, 0, 0, 1234}, "C:\\ICQ7.1", false,
       "7.0 Build #1234"},
      {FileVersion{65535, 40000, 3, 65535}, FileVersion{65535, 40000, 3, 65535}, "C:\\ICQ7.1\\",
       false, "65535.40000 Build #65535"},
      {FileVersion{7, 0, 0, 1234}, std::nullopt, "C:\\ICQ7.1", false, ""},
      {std::nullopt, std::nullopt, "C:\\ICQ7.1", false, ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.version_text);
    FakeFileSystem fs;
    AddIcq(fs, kFolder);
    FakeFileVersions versions;
    if (r.icq)
      versions.versions[kFolder + "ICQ.exe"] = *r.icq;
    if (r.mcore)
      versions.versions[kFolder + "MCore.dll"] = *r.mcore;
    TemplateDirResources resources(KELVANE_TEMPLATE_DIR);
    FakeSystemInfo system;
    TweakOptions options;
    options.icq_folder = r.folder_text;

    const RunResult result = CheckVersionAndRun(options, versions, fs, resources, system);
    EXPECT_EQ(result.version_text, r.version_text);
    EXPECT_EQ(result.status.wrong_version, !r.runs);
    EXPECT_EQ(fs.FolderExists(kFolder + "kelvane-backup"), r.runs) << "the run kept copies";
  }
}

TEST(VersionCheck, NumbersArePrintedUnsigned) {
  FakeFileVersions versions;
  versions.versions["C:\\a.exe"] = {32768, 40000, 65535, 0};
  EXPECT_EQ(GetFileVersionText(versions, "C:\\a.exe"), "32768.40000.65535.0");
  EXPECT_EQ(GetFileVersionText(versions, "C:\\missing.exe"), "");
}

}  // namespace
}  // namespace kelvane
