#include "install/version_check.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_machine.h"
#include "tests/template_test_support.h"

namespace kelvane {
namespace {

// Only one consistent installation of another build is named, its numbers unsigned.
TEST(VersionCheck, RunsOnlyOnTheRequiredBuild) {
  using V = std::optional<FileVersion>;
  const V right = FileVersion{7, 1, 0, 2096}, old = FileVersion{7, 0, 0, 1234},
          high = FileVersion{65535, 40000, 3, 65535};
  const struct {
    V icq, mcore;
    const char* folder_text;
    const char* version_text;
    bool runs;
  } rows[] = {
      {right, right, "C:\\ICQ7.1", "7.1.0.2096", true},
      {right, right, "C:\\ICQ7.1\\", "7.1.0.2096", true},
      {right, FileVersion{7, 1, 0, 2095}, "C:\\ICQ7.1", "", false},
      {old, right, "C:\\ICQ7.1", "", false},
      {old, old, "C:\\ICQ7.1", "7.0 Build #1234", false},
      {high, high, "C:\\ICQ7.1\\", "65535.40000 Build #65535", false},
      {std::nullopt, std::nullopt, "C:\\ICQ7.1", "", false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.version_text);
    FakeMachine m;
    testing::AddIcq(m.fs, "C:\\ICQ7.1\\");
    if (r.icq)
      m.versions.versions["C:\\ICQ7.1\\ICQ.exe"] = *r.icq;
    if (r.mcore)
      m.versions.versions["C:\\ICQ7.1\\MCore.dll"] = *r.mcore;
    TweakOptions options;
    options.icq_folder = r.folder_text;
    const RunResult result = CheckVersionAndRun(options, m.versions, m.fs, m.resources, m.system);
    EXPECT_EQ(result.version_text, r.version_text);
    EXPECT_EQ(result.status.wrong_version, !r.runs);
    EXPECT_EQ(m.fs.FolderExists("C:\\ICQ7.1\\kelvane-backup"), r.runs) << "the run kept copies";
  }
}

}  // namespace
}  // namespace kelvane
