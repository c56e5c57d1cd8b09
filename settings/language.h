// The interface language, chosen once at start-up.
#pragma once

#include <string>

namespace kelvane {

enum class UiLanguage { German, English };

// The last matching rule wins: system language, "-german", "-english", then the settings
// file's "Language" key ("English" or "German"). All comparisons are case-sensitive.
UiLanguage ChooseLanguage(const std::string& native_language_name,
                          const std::string& command_line_text,
                          const std::string& language_key);

}  // namespace kelvane
