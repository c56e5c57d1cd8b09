// bench-hosts.exe FOLDER: BlockAdHosts then UnblockAdHosts on hosts files of 10 000, 100 000
// and 1 000 000 lines below FOLDER, against plain copies of the same file there and back (two
// rewrites against two copies), median of several runs each, in one process; at 1 000 000
// lines also against the same copies flushed to disk, as the edit's new file is.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/win32/handle.h"
#include "platform/win32/process.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "protect/hosts_block.h"
#include "tools/bench_support.h"

namespace {

using namespace kelvane;
using bench::MedianMs;

// Puts the hosts file below the bench folder instead of the real system folder.
class BenchSystemInfo : public SystemInfo {
 public:
  explicit BenchSystemInfo(std::string folder) : folder_(std::move(folder)) {}
  std::string SystemDirectory() override { return folder_; }
  std::string NativeLanguageName() override { return "English"; }

 private:
  std::string folder_;
};

void Print(const std::string& name,
           double value,
           const char* unit,
           double floor,
           const char* floor_text,
           const char* limit) {
  char line[300];
  snprintf(line, sizeof(line), "%s: %.1f %s (ratio %.2f against %.1f %s, limit %s)\r\n",
           name.c_str(), value, unit, value / floor, floor, floor_text, limit);
  win32::PrintText(line);
}

void FlushedCopy(const std::wstring& from, const std::wstring& to) {
  CopyFileW(from.c_str(), to.c_str(), FALSE);
  win32::Handle copy(CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  FlushFileBuffers(copy.get());
}

// A large blocking list as users keep them: mappings, a comment now and then, a few of ours.
std::string HostsOfLines(int lines) {
  std::string text;
  char line[64];
  for (int i = 0; i < lines; ++i) {
    if (i % 50 == 0) {
      snprintf(line, sizeof(line), "# list part %d\r\n", i / 50);
    } else if (i % 1000 == 999) {
      snprintf(line, sizeof(line), "#127.0.0.1 %s\r\n",
               std::string(AdServerHosts[(i / 1000) % AdServerHosts.size()]).c_str());
    } else {
      snprintf(line, sizeof(line), "127.0.0.1 ads%07d.example.net\r\n", i);
    }
    text += line;
  }
  return text;
}

}  // namespace

int wmain() {
  auto args = win32::CommandLineArguments();
  if (args.size() != 1)
    return 64;
  const std::string folder = WithBackslash(args[0]);
  win32::Win32FileSystem fs;
  win32::Win32Resources resources;
  BenchSystemInfo system(folder + "system32");
  TweakOptions options;
  RunStatus status;
  RunContext run{fs, resources, system, options, status};
  const std::string hosts = HostsFilePath(system);
  MakeParentFolders(fs, hosts);
  const std::wstring from = win32::Widen(hosts), to = win32::Widen(hosts + ".copy");

  double per_line[2] = {};
  for (int lines : {10000, 100000, 1000000}) {
    const int runs = lines < 1000000 ? 9 : 5;
    fs.DeleteFileAt(hosts + kHostsBackupSuffix);
    if (!fs.WriteFile(hosts, HostsOfLines(lines)))
      return 1;
    BlockAdHosts(run);  // the first change keeps a copy of this file
    UnblockAdHosts(run);
    const double edit = MedianMs(runs, [&] {
      BlockAdHosts(run);
      UnblockAdHosts(run);
    });
    const double copy = MedianMs(runs, [&] {
      CopyFileW(from.c_str(), to.c_str(), FALSE);
      CopyFileW(to.c_str(), from.c_str(), FALSE);
    });
    const std::string name = "hosts block+unblock, " + std::to_string(lines) + " lines";
    const char* limit = lines == 1000000 ? "2.0" : "-";
    Print(name, edit, "ms", copy, "ms plain copy there and back", limit);
    if (lines == 1000000) {
      // The same copies made to last as the edit makes its new file last: flushed to disk
      // before anything refers to them. This is the least any safe rewrite can cost.
      const double flushed = MedianMs(runs, [&] {
        FlushedCopy(from, to);
        FlushedCopy(to, from);
      });
      Print(name, edit, "ms", flushed, "ms flushed copy there and back", "-");
    }
    per_line[0] = per_line[1];
    per_line[1] = edit / lines * 1e6;
  }
  Print("hosts block+unblock time per line, 1000000 against 100000 lines", per_line[1], "ns",
        per_line[0], "ns", "1.5");
  return status.failure == Failure::None ? 0 : 1;
}
