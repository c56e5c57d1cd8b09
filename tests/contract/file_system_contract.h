// One suite of file-system cases, run against the fake and against real Windows (Wine), so
// the fake cannot drift from what Windows does.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace kelvane::testing {

class FileSystemHarness {
 public:
  virtual ~FileSystemHarness() = default;
  virtual FileSystem& fs() = 0;
  // An empty folder for one test, ending in a backslash.
  virtual std::string root() = 0;
  virtual void MakeReadOnly(const std::string& path) = 0;
  virtual void MakeHidden(const std::string& path) = 0;
  // Another program holds the file open with read sharing, write sharing as asked and no
  // delete sharing, until the harness is destroyed.
  virtual void Hold(const std::string& path, bool share_write) = 0;
  // Makes a junction or link at path to the folder target.
  virtual void MakeLink(const std::string& path, const std::string& target) = 0;
};

using HarnessFactory = std::function<std::unique_ptr<FileSystemHarness>()>;

class FileSystemContract : public ::testing::TestWithParam<HarnessFactory> {
 protected:
  void SetUp() override {
    harness_ = GetParam()();
    root_ = harness_->root();
  }
  FileSystem& fs() { return harness_->fs(); }
  std::string At(const std::string& relative) { return root_ + relative; }
  void Put(const std::string& relative, const std::string& bytes) {
    ASSERT_TRUE(fs().WriteFile(At(relative), bytes)) << relative;
  }
  std::string Content(const std::string& relative) {
    return fs().ReadFile(At(relative)).value_or("<missing>");
  }

  std::unique_ptr<FileSystemHarness> harness_;
  std::string root_;
};

}  // namespace kelvane::testing
