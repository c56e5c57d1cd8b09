#include "ui/report.h"

namespace kelvane {
namespace {

std::string Pick(UiLanguage language, const char* german, const char* english) {
  return language == UiLanguage::German ? german : english;
}

Report Failed(std::string text) {
  return {std::move(text), false, false, 3000};
}

}  // namespace

Report ChooseReport(const RunStatus& status, const std::string& version_text, UiLanguage language) {
  switch (status.failure) {
    case Failure::DataAccessFailed:
      return Failed(Pick(language,
                         "Fehler beim Entfernen der Banner!\r\nDatenzugriff fehlgeschlagen!",
                         "Error! The banner ads couldn't be removed!\r\nData access failed!"));
    case Failure::WriteFailed:
      return Failed(
          Pick(language, "Fehler beim Schreiben der Daten!", "Error! Couldn't write data!"));
    case Failure::HostsAccessDenied:
      return Failed(Pick(language, "Zugriffsfehler! Administratorrechte vorhanden?",
                         "Access error! Got administrator rights?"));
    case Failure::ResetProtectionFailed:
      return {
          Pick(language, "Reset-Schutz konnte nicht erstellt werden!\r\nBitte manuell durchführen.",
               "Couldn't create reset protection!\r\nPlease do it manually."),
          false, true, 5000};
    case Failure::None:
      break;
  }
  if (status.wrong_version) {
    std::string text = Pick(language, "Falsche Version von ICQ!", "Wrong version of ICQ!");
    if (!version_text.empty())
      text += " (" + version_text + ")";
    return Failed(std::move(text));
  }
  return {Pick(language, "Änderungen erfolgreich durchgeführt!", "Changes successful!"), true,
          false, 3000};
}

}  // namespace kelvane
