#include "settings/language.h"

namespace kelvane {

UiLanguage ChooseLanguage(const std::string& native_language_name,
                          const std::string& command_line_text,
                          const std::string& language_key) {
  UiLanguage language = native_language_name.find("Deutsch") != std::string::npos
                            ? UiLanguage::German
                            : UiLanguage::English;
  if (command_line_text.find("-german") != std::string::npos)
    language = UiLanguage::German;
  if (command_line_text.find("-english") != std::string::npos)
    language = UiLanguage::English;
  if (language_key == "English")
    language = UiLanguage::English;
  if (language_key == "German")
    language = UiLanguage::German;
  return language;
}

}  // namespace kelvane
