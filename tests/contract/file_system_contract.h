// One suite of file-system cases, run natively against the fake and under Wine against real
// Windows, so the fake cannot drift from what Windows does.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace kelvane::testing {

// What another program that holds a file open shares; it never shares deletion.
enum class Sharing { kReadWrite, kRead, kNone };

class FileSystemHarness {
 public:
  virtual ~FileSystemHarness() = default;
  virtual FileSystem& fs() = 0;
  // An empty folder for one test, ending in a backslash.
  virtual std::string root() = 0;
  virtual void MakeReadOnly(const std::string& path) = 0;
  virtual void MakeHidden(const std::string& path) = 0;
  // Another program holds the file open until the harness goes.
  virtual void Hold(const std::string& path, Sharing sharing) = 0;
  // Makes a junction or link at path to the file or folder target.
  virtual void MakeLink(const std::string& path, const std::string& target) = 0;
  // Gives the file target a second name at path.
  virtual void MakeHardLink(const std::string& path, const std::string& target) = 0;
};

// The fake's harness in the native tests, Windows' in the tests under Wine.
std::unique_ptr<FileSystemHarness> MakeFileSystemHarness();

class FileSystemContract : public ::testing::Test {
 protected:
  FileSystem& fs() { return harness_->fs(); }
  std::string At(const std::string& relative) { return root_ + relative; }
  void Put(const std::string& relative, const std::string& bytes) {
    ASSERT_TRUE(fs().WriteFile(At(relative), bytes)) << relative;
  }
  std::string Content(const std::string& relative) {
    return fs().ReadFile(At(relative)).value_or("<missing>");
  }

  std::unique_ptr<FileSystemHarness> harness_ = MakeFileSystemHarness();
  const std::string root_ = harness_->root();
};

}  // namespace kelvane::testing
