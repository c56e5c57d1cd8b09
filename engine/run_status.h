// The failure record of one run, read by the result report.
#pragma once

namespace kelvane {

enum class Failure {
  None,
  DataAccessFailed,
  WriteFailed,
  HostsAccessDenied,
  ResetProtectionFailed
};

struct RunStatus {
  // One value, not a set: a failure raised later in a run replaces an earlier one.
  Failure failure = Failure::None;
  bool wrong_version = false;

  void Raise(Failure f) { failure = f; }
};

}  // namespace kelvane
