#include "platform/win32/win32_platform.h"

#include <windows.h>

namespace kelvane::win32 {
namespace {

// A run takes seconds; a holder that does not let go within this is hung, and waiting longer
// would only hang this run too. Going on beside it could swap its half-made files.
constexpr DWORD kLongestWait = 2 * 60 * 1000;

// Held by this program for as long as it holds the run lock: from the first change of a run to
// its last.
SRWLOCK run_under_way = SRWLOCK_INIT;
bool a_run_was_made = false;  // under run_under_way

// Kept to the end, so that no run begins after it. After a run the program ends by itself, with
// the run's report and exit code: ending it from here as well would race that end, which can hang
// the program in its exit. Before any run the default handling ends it.
BOOL WINAPI StopAfterTheRun(DWORD) {
  AcquireSRWLockExclusive(&run_under_way);
  if (a_run_was_made)
    Sleep(INFINITE);
  return FALSE;
}

}  // namespace

// Asks only for what waiting and letting go need: a lock made by a run under the system account
// grants administrators no more.
Win32RunLock::Win32RunLock()
    : mutex_(CreateMutexExW(nullptr, kRunLockName, 0, SYNCHRONIZE | MUTEX_MODIFY_STATE)) {}

Win32RunLock::~Win32RunLock() {
  if (mutex_)
    CloseHandle(mutex_);
}

bool Win32RunLock::Acquire() {
  // An abandoned lock, left by a run that ended without letting go, is held all the same.
  const DWORD waited = mutex_ ? WaitForSingleObject(mutex_, kLongestWait) : WAIT_FAILED;
  const bool held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  if (held) {
    AcquireSRWLockExclusive(&run_under_way);
    a_run_was_made = true;
  }
  return held;
}

void Win32RunLock::Release() {
  ReleaseMutex(mutex_);
  ReleaseSRWLockExclusive(&run_under_way);
}

void StopOnlyBetweenRuns() {
  SetConsoleCtrlHandler(StopAfterTheRun, TRUE);
}

}  // namespace kelvane::win32
