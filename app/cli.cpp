#include "app/cli.h"

#include "app/status_report.h"
#include "app/window_run.h"

#include <optional>

#include "engine/installation_status.h"
#include "engine/tweak_run.h"
#include "install/icq_folder.h"
#include "install/installation_search.h"
#include "install/version_check.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "ui/controls.h"
#include "ui/report.h"

namespace kelvane {
namespace {

constexpr char kUsage[] =
    "usage: kelvane-cli apply [--settings FILE] [--folder DIR] [--standard|--custom] "
    "[-german|-english]\r\n"
    "       kelvane-cli find\r\n"
    "       kelvane-cli version DIR\r\n"
    "       kelvane-cli restore DIR\r\n"
    "       kelvane-cli status DIR [--json]\r\n"
    "       kelvane-cli --help\r\n";

struct ApplyArgs {
  std::optional<std::string> settings_file;
  std::optional<std::string> folder;
  std::optional<TweakMode> mode;
  std::string switches;  // the language switches, as the window reads its command line
};

// Each option at most once: of two folders, files or modes, a script means only one, and
// Kelvane cannot tell which.
std::optional<ApplyArgs> ParseApply(const std::vector<std::string>& args) {
  ApplyArgs parsed;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--settings" && has_value && !parsed.settings_file) {
      parsed.settings_file = args[++i];
    } else if (a == "--folder" && has_value && !parsed.folder) {
      parsed.folder = args[++i];
    } else if ((a == "--standard" || a == "--custom") && !parsed.mode) {
      parsed.mode = a == "--standard" ? TweakMode::Standard : TweakMode::Custom;
    } else if (a == "-german" || a == "-english") {
      parsed.switches += " " + a;
    } else {
      return std::nullopt;
    }
  }
  return parsed;
}

CliResult Error(int exit_code, const std::string& message) {
  return {exit_code, "", message + "\r\n"};
}

constexpr char kAnotherRun[] = "another run of Kelvane holds the run lock: nothing was changed";

// A name that finds no file is a slip, and a file that another program holds reads as if it
// had no keys; neither may turn into a run with the window's defaults, nor may a file whose
// section Windows cannot find: misnamed, or behind the UTF-8 mark that PowerShell or an editor
// puts in front of a first line.
std::optional<CliResult> CheckSettingsFile(FileSystem& fs,
                                           Profile& profile,
                                           const std::string& file) {
  if (!fs.FileExists(file))
    return Error(kExitUsage, "settings file not found: " + file);
  const std::optional<std::string> text = fs.ReadFile(file);
  if (!text)
    return Error(kExitUsage, "settings file cannot be read: " + file);
  if (!profile.HasSection(file, kSettingsSection))
    return Error(kExitUsage, "settings file has no [" + std::string(kSettingsSection) +
                                 "] section that Windows can read (save it as ANSI): " + file);
  return std::nullopt;
}

// The folder of a run that did not name one: the stored one when it holds ICQ, else what the
// installation search finds (empty when nothing), as the window chooses at start-up. Nullopt
// when a settings file named for the run stores a folder without ICQ: quietly tweaking another
// installation instead would surprise the script that named it.
std::optional<std::string> UnnamedFolder(AppPlatform& p,
                                         const std::string& stored,
                                         bool settings_named) {
  if (settings_named && !stored.empty() && !IsIcqFolder(p.fs, WithBackslash(stored)))
    return std::nullopt;
  SearchPlatform search = p.Search();
  return ChooseIcqFolder(search, stored).value_or("");
}

// The folder as the window shows it, under its frame's caption.
std::string FolderLine(const std::string& folder, UiLanguage language) {
  return std::string(ui::CaptionOf(ui::ControlId::Frame1, language)) + ": " + folder + "\r\n";
}

// The window's report of the run, and for a script each path it could not change.
CliResult Reported(const RunResult& run, UiLanguage language, const std::string& folder_line) {
  const Report report = ChooseReport(run.status, run.version_text, language);
  const int exit_code = report.success             ? kExitSuccess
                        : run.status.wrong_version ? kExitNotIcq
                                                   : kExitRunFailed;
  std::string failed;
  for (const std::string& path : run.status.failed_paths)
    failed += "could not change " + path + "\r\n";
  return {exit_code, folder_line + report.text + "\r\n", failed};
}

CliResult Apply(const ApplyArgs& args, AppPlatform& p) {
  // Without --settings, the kvn.ini the window keeps beside the program: a run made as Start makes
  // it uses the choices made there, and only a missing file gives the window's defaults.
  const std::string settings_file =
      args.settings_file.value_or(p.program_folder + kSettingsFileName);
  if (args.settings_file || p.fs.FileExists(settings_file)) {
    if (auto error = CheckSettingsFile(p.fs, p.profile, settings_file))
      return *error;
  }
  auto [options, language_key] = ReadSettings(p.profile, settings_file);
  if (args.mode)
    options.mode = *args.mode;
  const UiLanguage language =
      ChooseLanguage(p.system.NativeLanguageName(), args.switches, language_key);
  // Without --folder the user has not named the folder, so it is shown before the report.
  std::string folder_line;
  if (args.folder) {
    options.icq_folder = p.paths.FullPath(*args.folder);
  } else {
    const auto folder = UnnamedFolder(p, options.icq_folder, args.settings_file.has_value());
    if (!folder) {
      return Error(kExitNotIcq,
                   "the ICQPath of " + settings_file + " is no ICQ folder: " + options.icq_folder);
    }
    options.icq_folder = *folder;
    if (!folder->empty())
      folder_line = FolderLine(*folder, language);
  }

  // The window's Start is enabled only for such a folder.
  if (!ValidateFolderField(p.fs, options.icq_folder)) {
    return {kExitNotIcq, language == UiLanguage::German ? "Kein ICQ-Verzeichnis gefunden!\r\n"
                                                        : "No ICQ folder found!\r\n"};
  }
  const std::optional<RunResult> run = RunAlone(p, options);
  return run ? Reported(*run, language, folder_line) : Error(kExitRunFailed, kAnotherRun);
}

CliResult Find(AppPlatform& p) {
  SearchPlatform search = p.Search();
  const auto folder = GetICQ7Path(search);
  return folder ? CliResult{kExitSuccess, *folder + "\r\n"} : CliResult{kExitNothingFound, ""};
}

CliResult Version(const std::string& folder_text, AppPlatform& p) {
  const IcqVersions found = ReadIcqVersions(p.versions, WithBackslash(folder_text));
  std::string lines;
  for (const auto& [name, version] :
       {std::pair{kIcqProgram, found.program}, {kIcqCore, found.core}})
    lines += std::string(name) + " " + (version.empty() ? "-" : version) + "\r\n";
  return {found.required() ? kExitSuccess : kExitNotIcq, lines};
}

CliResult Restore(const std::string& folder_text, AppPlatform& p) {
  if (!ValidateFolderField(p.fs, folder_text))
    return Error(kExitNotIcq, "no ICQ folder: " + folder_text);
  const std::string folder = WithBackslash(folder_text);
  HeldRunLock lock(p.run_lock);
  if (!lock.held())
    return Error(kExitRunFailed, kAnotherRun);
  // ICQ's updater may have moved the installation on since Standard lifted the locks: the copies
  // are 2096 files and would break another build.
  if (const CliResult versions = Version(folder_text, p); versions.exit_code != kExitSuccess)
    return {kExitNotIcq, "", "Wrong version of ICQ! Nothing was restored.\r\n" + versions.output};
  const std::vector<RestoreResult> results = RestoreTweaks(folder, p.fs, p.resources);
  if (results.empty())
    return Error(kExitRunFailed, "nothing to restore: no copies kept in " + folder + kBackupFolder);
  CliResult result{kExitSuccess, ""};
  for (const RestoreResult& r : results) {
    switch (r.restored) {
      case Restored::Yes:
        result.output += "restored " + r.relative + "\r\n";
        break;
      case Restored::Removed:
        result.output += "removed " + r.relative + ", which the installation did not have\r\n";
        break;
      case Restored::Failed:
        result.output += "could not restore " + r.relative + "\r\n";
        break;
      case Restored::NoCopy:
        result.output += "left " + r.relative + " as it is: Kelvane never changed it\r\n";
        break;
    }
    if (r.restored == Restored::Failed)
      result.exit_code = kExitRunFailed;
  }
  return result;
}

// Changes nothing. Exit 0 when every file that is there is recognised.
CliResult Status(const std::string& folder_text, bool json, AppPlatform& p) {
  if (!ValidateFolderField(p.fs, folder_text))
    return Error(kExitNotIcq, "no ICQ folder: " + folder_text);
  const std::string folder = WithBackslash(folder_text);
  const InstallationStatus status = ReadInstallationStatus(p.fs, p.system, folder);
  return {status.AllRecognised() ? kExitSuccess : kExitRunFailed,
          json ? StatusJson(folder, status) : StatusText(folder, status)};
}

}  // namespace

// A folder named from the console's working folder, "." too, is made whole: the window's rules
// know only whole folders, and the reports name the folder a script can use anywhere.
CliResult RunCli(const std::vector<std::string>& args, AppPlatform& platform) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "/?"))
    return {kExitSuccess, kUsage};
  const auto dir = [&] { return platform.paths.FullPath(args[1]); };
  if (!args.empty() && args[0] == "apply") {
    if (auto parsed = ParseApply(args))
      return Apply(*parsed, platform);
  } else if (args.size() == 2 && args[0] == "restore") {
    return Restore(dir(), platform);
  } else if (args.size() == 1 && args[0] == "find") {
    return Find(platform);
  } else if (args.size() == 2 && args[0] == "version") {
    return Version(dir(), platform);
  } else if ((args.size() == 2 || (args.size() == 3 && args[2] == "--json")) &&
             args[0] == "status") {
    return Status(dir(), args.size() == 3, platform);
  }
  return {kExitUsage, "", kUsage};
}

}  // namespace kelvane
