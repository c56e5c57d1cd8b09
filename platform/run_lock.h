// One change at a time: the window, kelvane-cli and a deployment tool may each start a run or a
// restore at the same moment, and two of them would swap each other's half-made files.
#pragma once

namespace kelvane {

class RunLock {
 public:
  virtual ~RunLock() = default;
  // Waits while another run holds the lock, then holds it. False when the other run still holds
  // it after the wait, or the lock cannot be had at all: the run must then write nothing.
  virtual bool Acquire() = 0;
  virtual void Release() = 0;
};

// Holds the lock for one scope, when it could be had.
class HeldRunLock {
 public:
  explicit HeldRunLock(RunLock& lock) : lock_(lock), held_(lock_.Acquire()) {}
  HeldRunLock(const HeldRunLock&) = delete;
  HeldRunLock& operator=(const HeldRunLock&) = delete;
  ~HeldRunLock() {
    if (held_)
      lock_.Release();
  }
  bool held() const { return held_; }

 private:
  RunLock& lock_;
  const bool held_;
};

}  // namespace kelvane
