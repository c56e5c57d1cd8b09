#include <thread>
#include <vector>

#include "platform/win32/handle.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_file_system.h"
#include "tests/contract/file_system_contract.h"
#include "tests/e2e/e2e_support.h"

namespace kelvane::testing {
namespace {

using win32::Widen;

class Win32Harness : public FileSystemHarness {
 public:
  ~Win32Harness() override {
    for (HANDLE h : held_)
      CloseHandle(h);
  }
  FileSystem& fs() override { return fs_; }
  std::string root() override { return folder_.path(); }
  void MakeReadOnly(const std::string& path) override {
    SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY);
  }
  void MakeHidden(const std::string& path) override {
    SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  void HoldWithoutDeleteSharing(const std::string& path) override {
    HANDLE h = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    held_.push_back(h);
  }

 private:
  TempFolder folder_;
  win32::Win32FileSystem fs_;
  std::vector<HANDLE> held_;
};

INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContract, ::testing::Values([] {
                           return std::unique_ptr<FileSystemHarness>(new Win32Harness);
                         }));

// Copies the old bytes, then "!".
class AppendingEdit : public FileEdit {
 public:
  void Take(std::string_view piece, ByteSink& out) override { out.Write(piece); }
  bool Finish(ByteSink& out) override {
    out.Write("!");
    return true;
  }
};

// A program that lets go of the file within the second does not make the rewrite fail.
TEST(Win32FileSystem, RewriteWaitsForAProgramThatLetsGoSoon) {
  TempFolder dir;
  const std::string path = dir.path() + "hosts";
  WriteBytes(path, "old");
  HANDLE held = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  std::thread release([held] {
    Sleep(300);
    CloseHandle(held);
  });
  AppendingEdit edit;
  const Rewrite result = win32::Win32FileSystem().RewriteFile(path, edit);
  release.join();
  EXPECT_EQ(result, Rewrite::Replaced);
  EXPECT_EQ(ReadBytes(path), "old!");
  WIN32_FIND_DATAW data;
  win32::FindHandle find(Widen(dir.path() + "*"), &data);
  int entries = 0;
  for (bool more = find.valid(); more; more = find.Next(&data))
    ++entries;
  EXPECT_EQ(entries, 3) << "\".\", \"..\" and the file, nothing left beside it";
}

}  // namespace
}  // namespace kelvane::testing
