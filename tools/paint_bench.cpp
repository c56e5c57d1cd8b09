// paint-bench.exe PROGRAM BARE_WINDOW CONTROLS_WINDOW: how long each program takes from its
// start until its window is shown and painted, median of several runs taken in turns, and the
// first against each of the other two.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/win32/process.h"
#include "platform/win32/text.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 9;

struct Search {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM lparam) {
  auto* search = reinterpret_cast<Search*>(lparam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process_id || !IsWindowVisible(window))
    return TRUE;
  search->found = window;
  return FALSE;
}

HWND VisibleWindowOf(DWORD process_id) {
  Search search = {process_id, nullptr};
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Milliseconds from the start until the program's window is shown and painted: the window
// answers a sent message only once its thread, past the first WM_PAINT, reaches its message
// loop. -1 when no window shows within 20 seconds. The program is ended afterwards.
double TimeToFirstPaint(const std::wstring& program) {
  std::wstring command = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  const auto start = Clock::now();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  HWND window = nullptr;
  while (!(window = VisibleWindowOf(process.dwProcessId)) &&
         Clock::now() - start < std::chrono::seconds(20)) {
    Sleep(1);
  }
  DWORD_PTR answer;
  const bool painted =
      window && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  // Ended rather than closed: a Wine process takes seconds to wind down on its own.
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return painted ? ms : -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Median start-to-paint times of the programs, measured in turns after one warm-up start
// each; empty when one of them showed no window.
std::vector<double> MedianTimes(const std::vector<std::wstring>& programs) {
  for (const std::wstring& program : programs)
    TimeToFirstPaint(program);
  std::vector<std::vector<double>> times(programs.size());
  for (int i = 0; i < kRuns; ++i) {
    for (size_t p = 0; p < programs.size(); ++p)
      times[p].push_back(TimeToFirstPaint(programs[p]));
  }
  std::vector<double> medians;
  for (const std::vector<double>& runs : times) {
    if (*std::min_element(runs.begin(), runs.end()) < 0)
      return {};
    medians.push_back(Median(runs));
  }
  return medians;
}

void PrintRatio(double time, double floor, const char* floor_text, const char* limit) {
  char line[200];
  snprintf(line, sizeof(line),
           "window start to first paint: %.0f ms (ratio %.2f against %.0f ms %s, limit %s)\r\n",
           time, time / floor, floor, floor_text, limit);
  kelvane::win32::PrintText(line);
}

}  // namespace

int wmain() {
  const auto args = kelvane::win32::CommandLineArguments();
  if (args.size() != 3)
    return 64;
  std::vector<std::wstring> programs;
  for (const std::string& arg : args)
    programs.push_back(kelvane::win32::Widen(arg));
  const std::vector<double> medians = MedianTimes(programs);
  if (medians.empty()) {
    kelvane::win32::PrintText("window start to first paint: no window shown\r\n");
    return 1;
  }
  PrintRatio(medians[0], medians[1], "bare Win32 window", "1.2");
  PrintRatio(medians[0], medians[2], "the same controls alone", "-");
  return 0;
}
