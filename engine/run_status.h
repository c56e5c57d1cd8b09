// The failure record of one run, read by the result report.
#pragma once

#include <string>
#include <vector>

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
  // The file, lock or hosts file each failure was about, in the order met: the report's texts
  // name none, a script's log wants them.
  std::vector<std::string> failed_paths;

  void Raise(Failure f, std::string path) {
    failure = f;
    failed_paths.push_back(std::move(path));
  }
};

}  // namespace kelvane
