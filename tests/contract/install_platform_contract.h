// One suite of cases for the registry, long path and version services, run against the
// fakes and against real Windows (Wine), so the fakes cannot drift from what Windows does.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/file_version.h"
#include "platform/path_names.h"
#include "platform/registry.h"

namespace kelvane::testing {

class InstallPlatformHarness {
 public:
  virtual ~InstallPlatformHarness() = default;
  virtual Registry& registry() = 0;
  virtual PathNames& paths() = 0;
  virtual FileVersions& versions() = 0;
  // A key of its own below HKEY_LOCAL_MACHINE, removed with the harness.
  virtual std::string key() = 0;
  // Stores a text value in key(), as installers do: with or without its terminating NUL.
  virtual void PutText(const std::string& name, const std::string& text, bool terminated) = 0;
  // An empty folder for one test, ending in a backslash.
  virtual std::string root() = 0;
  // Makes the folder and gives a short form of its path.
  virtual std::string MakeFolderWithShortPath(const std::string& path) = 0;
  virtual void MakeProgramFile(const std::string& path, const FileVersion& version) = 0;
  virtual void MakeTextFile(const std::string& path) = 0;
};

using InstallHarnessFactory = std::function<std::unique_ptr<InstallPlatformHarness>()>;

class InstallPlatformContract : public ::testing::TestWithParam<InstallHarnessFactory> {
 protected:
  void SetUp() override { harness_ = GetParam()(); }
  InstallPlatformHarness& h() { return *harness_; }

  std::unique_ptr<InstallPlatformHarness> harness_;
};

}  // namespace kelvane::testing
