// kelvane-cli.exe under Wine on a demo installation, for what only real files show: files that
// other programs hold and the prefix's own hosts file; and the settings file through the real
// profile calls.
#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <optional>
#include <thread>
#include <vector>

#include "app/cli.h"
#include "engine/tweak_run.h"
#include "platform/win32/handle.h"
#include "platform/win32/process.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_platform.h"
#include "protect/hosts_block.h"
#include "settings/settings_file.h"
#include "tests/e2e/e2e_support.h"
#include "tools/demo_icq/demo_icq.h"

namespace kelvane::testing {
namespace {

using win32::Widen;

// Where a 64-bit program finds the prefix's hosts file.
const std::string kHostsPath = "C:\\windows\\system32\\drivers\\etc\\hosts";
const std::string kSection = "[Kelvane 7.1.0.2096]\r\n";

// The prefix's hosts file and Kelvane's copy beside it, given back as they were.
struct HostsFileKept {
  ~HostsFileKept() {
    for (const auto& [path, bytes] : saved) {
      fs.SetNormalAttributes(path);
      if (bytes) {
        fs.WriteFile(path, *bytes);
      } else {
        fs.DeleteFileAt(path);
      }
    }
  }
  win32::Win32FileSystem fs;
  const std::string copy = kHostsPath + kHostsBackupSuffix;
  const std::vector<std::pair<std::string, std::optional<std::string>>> saved = {
      {kHostsPath, fs.ReadFile(kHostsPath)},
      {copy, fs.ReadFile(copy)}};
};

// As users type it: a folder keeps its single trailing backslash inside the quotes.
std::wstring Quoted(const std::string& arg) {
  return L"\"" + Widen(arg) + L"\"";
}

struct ProgramResult {
  int exit_code;
  std::string output;  // standard output and error
};

ProgramResult Cli(const std::vector<std::string>& args) {
  // Through the command processor, which takes the outer quotes off.
  std::wstring command = L"\"" + Quoted(win32::ProgramFolder() + "kelvane-cli.exe");
  for (const std::string& arg : args)
    command += L" " + Quoted(arg);
  FILE* pipe = _wpopen((command + L" 2>&1\"").c_str(), L"rb");
  std::string output;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof(buffer), pipe)) > 0;)
    output.append(buffer, n);
  return {_pclose(pipe), output};
}

// kvn.ini in the folder, holding the keys; its path.
std::string Settings(const std::string& folder, const std::string& keys) {
  WriteBytes(folder + "kvn.ini", kSection + keys);
  return folder + "kvn.ini";
}

// A run's report, in English.
std::string Apply(const std::string& folder, const std::string& settings) {
  return Cli({"apply", "--folder", folder, "--settings", settings, "-english"}).output;
}

// A file another program holds is left as it was, the report tells the truth and nothing is
// lost. An ICQ file held during the first run, and the German file of a package
// installed after it, get their copies before their first change all the same. A copy that a
// run cut off left beside a file stands in no later run's way, and a holder that lets go within
// a second only delays a write.
TEST(HeldFiles, NothingIsLostAndTheReportTellsTheTruth) {
  const std::string hosts = "# the user's own\r\n127.0.0.1 localhost\r\n";
  HostsFileKept kept;
  WriteBytes(kHostsPath, hosts);
  TempFolder dir;
  win32::Win32FileSystem fs;
  const std::string brief = dir.path() + "brief";
  WriteBytes(brief, "old");
  HANDLE held_briefly = Hold(brief, FILE_SHARE_READ);
  auto let_go = std::async(std::launch::async, [&] {
    Sleep(400);
    CloseHandle(held_briefly);
  });
  EXPECT_TRUE(fs.WriteFile(brief, "new"));
  EXPECT_EQ(ReadBytes(brief), "new");
  win32::Win32Resources templates;
  ASSERT_TRUE(
      demo::MakeDemoIcq(fs, templates, dir.path(), win32::ProgramFolder(), {.german = false}));
  const std::string chat = dir.path() + "imApp\\theme\\MUIMessage\\MsgSessionDlg.style.box";
  const std::string german = dir.path() + "packages\\german\\language\\de-DE\\MsgSessionPanel.dtd";
  const std::string users_chat = ReadBytes(chat);
  // No message-field ads: the hosts file blocks them.
  const std::string settings = Settings(dir.path(), "Option7=1\r\n");
  {
    win32::Handle holder(Hold(chat, 0));
    EXPECT_EQ(Apply(dir.path(), settings),
              "Error! The banner ads couldn't be removed!\r\nData access failed!\r\n"
              "could not change " +
                  chat + "\r\n");
  }
  EXPECT_EQ(ReadBytes(chat), users_chat);
  const std::string users_german = demo::IcqFile(templates, 107, TweakOptions(TweakMode::Standard));
  MakeParentFolders(fs, german);
  WriteBytes(german, users_german);
  WriteBytes(chat + ".kelvane-part", "half");
  EXPECT_EQ(Apply(dir.path(), settings), "Changes successful!\r\n");
  EXPECT_EQ(ReadBytes(chat + ".kelvane-part"), "<missing>");
  EXPECT_NE(ReadBytes(chat), users_chat);
  EXPECT_EQ(ReadBytes(kHostsPath), BlockAdHostsText(hosts));
  // While another run holds the lock, the restore waits for it; a run under the system account
  // made it, granting administrators only to wait on it.
  SECURITY_ATTRIBUTES system_run{sizeof(system_run), nullptr, FALSE};
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
      L"O:SYD:(A;;GA;;;SY)(A;;GRGXRC;;;BA)", SDDL_REVISION_1, &system_run.lpSecurityDescriptor,
      nullptr));
  win32::Handle lock(CreateMutexW(&system_run, TRUE, win32::kRunLockName));
  LocalFree(system_run.lpSecurityDescriptor);
  auto restore = std::async(std::launch::async, [&] { return Cli({"restore", dir.path()}); });
  EXPECT_EQ(restore.wait_for(std::chrono::seconds(1)), std::future_status::timeout);
  EXPECT_NE(ReadBytes(chat), users_chat);
  ReleaseMutex(lock.get());
  EXPECT_EQ(restore.get().exit_code, kExitSuccess);
  EXPECT_EQ(ReadBytes(chat), users_chat);
  EXPECT_EQ(ReadBytes(german), users_german);
}

// The run lock is free again after each run, however its holder ended: the window takes it on a
// new thread for each Start, and a run killed half-way leaves it abandoned.
TEST(RunLock, FreeAfterEachRunAndAfterAHolderThatDied) {
  win32::Win32RunLock lock;
  // The step's answer, or false when it has not ended within five seconds.
  const auto on_a_thread = [](std::function<bool()> step) {
    std::packaged_task<bool()> task(std::move(step));
    std::future<bool> answer = task.get_future();
    std::thread(std::move(task)).detach();
    return answer.wait_for(std::chrono::seconds(5)) == std::future_status::ready && answer.get();
  };
  const auto a_run = [&] {
    const bool held = lock.Acquire();
    if (held)
      lock.Release();
    return held;
  };
  EXPECT_TRUE(on_a_thread(a_run));
  EXPECT_TRUE(on_a_thread(a_run)) << "the first run kept it";
  EXPECT_TRUE(on_a_thread([] {
    win32::Handle mutex(CreateMutexW(nullptr, FALSE, win32::kRunLockName));
    return WaitForSingleObject(mutex.get(), 0) == WAIT_OBJECT_0;  // and the thread ends
  }));
  EXPECT_TRUE(on_a_thread(a_run)) << "a holder that died kept it";
}

// The settings file through the real profile calls: a first save writes the keys in order, one
// already there keeps its place. It stays in the ANSI code page while its values fit it and its
// name may hold any characters; a bare name is the current folder's file.
TEST(ProfileCalls, WhatASaveLeavesOnDisk) {
  TempFolder dir;
  win32::Win32Profile profile;
  TweakOptions options;
  options.icq_folder = "C:\\Programme\\ICQ \xc3\x84";  // "Ä" in UTF-8
  std::string keys = "ICQPath=C:\\Programme\\ICQ \xc4\r\nStandard=0\r\n";
  for (const OptionFlag& f : kOptionFlags)
    keys += std::string(f.key) + (f.ticked_by_default ? "=1\r\n" : "=0\r\n");
  const std::string folder = dir.path() + "\xc5\x81ukasz \xe2\x98\x83\\";  // "Łukasz ☃"
  CreateDirectoryW(Widen(folder).c_str(), nullptr);
  SetCurrentDirectoryW(Widen(dir.path()).c_str());
  for (const auto& [given, lands] : {std::pair{folder + "kvn.ini", folder + "kvn.ini"},
                                     std::pair{std::string("kvn.ini"), dir.path() + "kvn.ini"}}) {
    SaveSettings(profile, given, options);
    EXPECT_EQ(ReadBytes(lands), kSection + keys) << given;
    EXPECT_EQ(ReadIniString(profile, given, "ICQPath"), options.icq_folder) << given;
  }
  SetCurrentDirectoryW(Widen(win32::ProgramFolder()).c_str());
  const std::string file = dir.path() + "kvn.ini";
  WriteBytes(file, kSection + "Language=German\r\nOption3=1\r\n");
  SaveSettings(profile, file, options);
  keys.erase(keys.find("Option3=0\r\n"), 11);
  EXPECT_EQ(ReadBytes(file), kSection + "Language=German\r\nOption3=0\r\n" + keys);
  const auto utf16 = [](const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii)
      bytes += {c, '\0'};
    return bytes;
  };
  // A letter the code page lacks would come back as "?" or a look-alike ("L" for "Ł") naming
  // another folder: the file becomes UTF-16, keeping the keys in it.
  options.remove_search_bar = true;
  for (const auto& [before, icq_folder] :
       {std::pair{std::string(), std::string("C:\\ICQ f\xc3\xbcr \xc5\x81ukasz")},
        {kSection + "Language=German\r\n", "C:\\\xd0\x9f\xd0\xa0\xd0\x9e\\ICQ7.1"},
        {utf16(kSection + "Language=German\r\n"), "C:\\ICQ \xf0\x9f\x98\x80"},
        {"\xEF\xBB\xBF" + kSection + "Language=German\r\n", "C:\\\xc5\x81\\ICQ"}}) {
    DeleteFileW(Widen(file).c_str());
    if (!before.empty())
      WriteBytes(file, before);
    options.icq_folder = icq_folder;
    SaveSettings(profile, file, options);
    const StartupSettings read = ReadSettings(profile, file);
    EXPECT_EQ(read.options.icq_folder, icq_folder);
    EXPECT_EQ(read.language_key, before.empty() ? "" : "German") << icq_folder;
    EXPECT_TRUE(read.options.remove_search_bar) << icq_folder;
    EXPECT_TRUE(ReadBytes(file).starts_with("\xFF\xFE")) << icq_folder;
    EXPECT_EQ(ReadBytes(file + ".kelvane-part"), "<missing>");
  }
  // The section as the profile calls find it, not as the bytes look.
  for (const auto& [bytes, found] :
       {std::pair{"[kelvane 7.1.0.2096]\r\n" + keys, true},
        {utf16("[KELVANE 7.1.0.2096]\r\n"), true},
        {"; copied from " + kSection + "[Kelvane 7.1.0.2069]\r\nOption1=0\r\n", false},
        {"[Notes]\r\nSeeAlso=" + kSection + "Option1=0\r\n", false}}) {
    WriteBytes(file, bytes);
    EXPECT_EQ(profile.HasSection(file, kSettingsSection), found) << bytes;
  }
  // Kelvane runs elevated: a kvn.ini that is a link leads no save to what it points to.
  WriteBytes(dir.path() + "elsewhere", "precious");
  DeleteFileW(Widen(file).c_str());
  MakeLinuxLink(file, dir.path() + "elsewhere");
  SaveSettings(profile, file, options);
  EXPECT_EQ(ReadBytes(dir.path() + "elsewhere"), "precious");
}

// Ctrl+C stops kelvane-cli only after the run under way, which still ends with its own exit code:
// here one that tries each of two files ICQ holds again for about a second before it changes the
// files after them. A run that still waits for another one's lock has changed nothing and stops
// at once.
TEST(ConsoleBreaks, TheRunUnderWayEndsFirst) {
  HostsFileKept kept;  // the run blocks the ad servers
  TempFolder dir;
  win32::Win32FileSystem fs;
  win32::Win32Resources templates;
  ASSERT_TRUE(demo::MakeDemoIcq(fs, templates, dir.path(), win32::ProgramFolder(), {}));
  const auto file = [&](size_t i) { return dir.path() + std::string(kTargetFiles[i].path); };
  const std::string first = file(0), last = file(kTargetFiles.size() - 1);
  const std::string users_first = ReadBytes(first), users_last = ReadBytes(last);
  win32::Handle chat(Hold(file(1), FILE_SHARE_READ)), style(Hold(file(2), FILE_SHARE_READ));
  std::wstring command = Quoted(win32::ProgramFolder() + "kelvane-cli.exe") + L" apply --folder " +
                         Quoted(dir.path()) + L" --settings " + Quoted(Settings(dir.path(), ""));
  // Ctrl+C reaches this test too, as it presses it in the program's console, at a moment of its
  // own: possibly long after the test left that console again.
  SetConsoleCtrlHandler([](DWORD event) -> BOOL { return event == CTRL_C_EVENT; }, TRUE);
  for (const bool waits : {true, false}) {
    SCOPED_TRACE(waits ? "waiting for the lock" : "under way");
    win32::Handle lock(waits ? CreateMutexW(nullptr, TRUE, win32::kRunLockName) : nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION cli{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                               nullptr, nullptr, &startup, &cli));
    win32::Handle process(cli.hProcess), thread(cli.hThread);
    if (waits)
      Sleep(2000);  // until it waits
    for (int tries = 0; !waits && tries < 2000 && ReadBytes(first) == users_first; ++tries)
      Sleep(10);  // until the run is under way: a slow start under load takes seconds
    // Pressed in the program's console, which this test joins for it; the test itself goes on.
    FreeConsole();
    ASSERT_TRUE(AttachConsole(cli.dwProcessId));
    EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
    FreeConsole();
    EXPECT_EQ(WaitForSingleObject(process.get(), waits ? 3000 : 10000), WAIT_OBJECT_0);
    DWORD exit_code = 0;
    GetExitCodeProcess(process.get(), &exit_code);
    EXPECT_TRUE(waits || exit_code == kExitRunFailed) << "not the run's own: " << exit_code;
    TerminateProcess(process.get(), 1);
    EXPECT_EQ(ReadBytes(first) == users_first, waits);
    EXPECT_EQ(ReadBytes(last) == users_last, waits) << "the run was cut";
    if (waits)
      ReleaseMutex(lock.get());
  }
}

}  // namespace
}  // namespace kelvane::testing
