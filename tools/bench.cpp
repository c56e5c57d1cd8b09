// bench.exe FOLDER STUBS: the tweak run on a demo installation against the floor of reading and
// writing the same twelve files once each with plain calls, median of 15 runs each, in one
// process.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "engine/tweak_run.h"
#include "platform/win32/process.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "tools/bench_support.h"
#include "tools/demo_icq/demo_icq.h"

namespace {

using namespace kelvane;
using bench::MedianMs;

}  // namespace

int wmain() {
  auto args = win32::CommandLineArguments();
  if (args.size() != 2)
    return 64;
  const std::string folder = WithBackslash(args[0]);
  win32::Win32FileSystem fs;
  win32::Win32Resources resources;
  win32::Win32SystemInfo system;
  if (!demo::MakeDemoIcq(fs, resources, folder, args[1], {}))
    return 1;

  TweakOptions options;
  RunStatus status;
  RunContext run{fs, resources, system, options, status};
  const double tweak = MedianMs(15, [&] { ApplyTweaks(folder, run); });

  std::vector<std::pair<std::string, std::string>> files;
  for (const TargetFile& t : kTargetFiles) {
    const std::string path = folder + std::string(t.path);
    files.emplace_back(path, fs.ReadFile(path).value_or(""));
  }
  const double floor = MedianMs(15, [&] {
    for (auto& [path, bytes] : files) {
      const std::wstring wide = win32::Widen(path);
      DWORD done;
      HANDLE h = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
      CloseHandle(h);
      h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                      nullptr);
      WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
      CloseHandle(h);
    }
  });
  char line[200];
  snprintf(line, sizeof(line),
           "tweak run: %.2f ms (ratio %.2f against %.2f ms plain reads and writes, limit 1.5)\r\n",
           tweak, tweak / floor, floor);
  win32::PrintText(line);
  return status.failure == Failure::None ? 0 : 1;
}
