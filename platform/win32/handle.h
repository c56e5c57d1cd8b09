// Owns a kernel handle or a find handle and closes it once.
#pragma once

#include <windows.h>

#include <string>

namespace kelvane::win32 {

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (valid())
      CloseHandle(h_);
  }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  HANDLE get() const { return h_; }
  // Closes now and tells whether the close succeeded (a late write error shows here).
  bool Close() {
    bool ok = valid() && CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

class FindHandle {
 public:
  FindHandle(const std::wstring& pattern, WIN32_FIND_DATAW* data)
      : h_(FindFirstFileW(pattern.c_str(), data)) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (valid())
      FindClose(h_);
  }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAW* data) { return FindNextFileW(h_, data); }

 private:
  HANDLE h_;
};

}  // namespace kelvane::win32
