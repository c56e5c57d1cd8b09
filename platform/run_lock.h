// One change at a time: the window, kelvane-cli and a deployment tool may each start a run or a
// restore at the same moment, and two of them would swap each other's half-made files.
#pragma once

namespace kelvane {

class RunLock {
 public:
  virtual ~RunLock() = default;
  // Waits while another run holds the lock, then holds it.
  virtual void Acquire() = 0;
  virtual void Release() = 0;
};

// Holds the lock for one scope.
class HeldRunLock {
 public:
  explicit HeldRunLock(RunLock& lock) : lock_(lock) { lock_.Acquire(); }
  HeldRunLock(const HeldRunLock&) = delete;
  HeldRunLock& operator=(const HeldRunLock&) = delete;
  ~HeldRunLock() { lock_.Release(); }

 private:
  RunLock& lock_;
};

}  // namespace kelvane
