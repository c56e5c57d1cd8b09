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

// Kept to the end, so that no run begins after it; the default handling then ends the program.
BOOL WINAPI StopAfterTheRun(DWORD) {
  AcquireSRWLockExclusive(&run_under_way);
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
  if (held)
    AcquireSRWLockExclusive(&run_under_way);
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
