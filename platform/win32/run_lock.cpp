#include "platform/win32/win32_platform.h"

#include <windows.h>

namespace kelvane::win32 {
namespace {

// A run takes seconds; a holder that does not let go within this is hung, and waiting longer
// would only hang this run too. Going on beside it could swap its half-made files.
constexpr DWORD kLongestWait = 2 * 60 * 1000;

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
  return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

void Win32RunLock::Release() {
  ReleaseMutex(mutex_);
}

}  // namespace kelvane::win32
