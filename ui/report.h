// The one message a run ends with, chosen from its status.
#pragma once

#include <string>

#include "engine/run_status.h"
#include "settings/language.h"

namespace kelvane {

struct Report {
  std::string text;  // one line, or two joined by CR LF
  bool success;
  bool help_link;   // the help page is offered after a failed reset protection
  int interval_ms;  // how long the report stays

  bool two_lines() const { return text.find("\r\n") != std::string::npos; }
};

// The run's one failure (the last one raised), else a wrong version, else success.
Report ChooseReport(const RunStatus& status, const std::string& version_text, UiLanguage language);

}  // namespace kelvane
