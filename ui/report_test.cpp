#include "ui/report.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(Report, CaseTableInBothLanguages) {
  struct Row {
    Failure failure;
    bool wrong_version;
    const char* version;
    const char* english;
    const char* german;
    int lines;
    bool success;
    bool help;
    int interval;
  };
  const Row rows[] = {
      {Failure::DataAccessFailed, true, "7.0 Build #1",
       "Error! The banner ads couldn't be removed!\r\nData access failed!",
       "Fehler beim Entfernen der Banner!\r\nDatenzugriff fehlgeschlagen!", 2, false, false, 3000},
      {Failure::WriteFailed, false, "", "Error! Couldn't write data!",
       "Fehler beim Schreiben der Daten!", 1, false, false, 3000},
      {Failure::HostsAccessDenied, false, "", "Access error! Got administrator rights?",
       "Zugriffsfehler! Administratorrechte vorhanden?", 1, false, false, 3000},
      {Failure::ResetProtectionFailed, false, "",
       "Couldn't create reset protection!\r\nPlease do it manually.",
       "Reset-Schutz konnte nicht erstellt werden!\r\nBitte manuell durchführen.", 2, false, true,
       5000},
      {Failure::None, true, "7.0 Build #1234", "Wrong version of ICQ! (7.0 Build #1234)",
       "Falsche Version von ICQ! (7.0 Build #1234)", 1, false, false, 3000},
      {Failure::None, true, "", "Wrong version of ICQ!", "Falsche Version von ICQ!", 1, false,
       false, 3000},
      {Failure::None, false, "7.1.0.2096", "Changes successful!",
       "Änderungen erfolgreich durchgeführt!", 1, true, false, 3000},
  };
  for (const Row& r : rows) {
    RunStatus status;
    status.Raise(r.failure);
    status.wrong_version = r.wrong_version;
    for (UiLanguage language : {UiLanguage::English, UiLanguage::German}) {
      const Report report = ChooseReport(status, r.version, language);
      EXPECT_EQ(report.text, language == UiLanguage::English ? r.english : r.german);
      EXPECT_EQ(report.lines, r.lines);
      EXPECT_EQ(report.success, r.success);
      EXPECT_EQ(report.help_link, r.help);
      EXPECT_EQ(report.interval_ms, r.interval);
    }
  }
}

TEST(Report, LaterFailureReplacesEarlierOne) {
  RunStatus status;
  status.Raise(Failure::ResetProtectionFailed);
  status.Raise(Failure::HostsAccessDenied);
  status.Raise(Failure::WriteFailed);
  EXPECT_EQ(ChooseReport(status, "", UiLanguage::English).text, "Error! Couldn't write data!");
}

}  // namespace
}  // namespace kelvane
