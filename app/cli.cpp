#include "app/cli.h"

#include <optional>

#include "engine/backup.h"
#include "engine/tweak_run.h"
#include "install/icq_folder.h"
#include "settings/language.h"
#include "settings/settings_file.h"
#include "ui/report.h"

namespace kelvane {
namespace {

constexpr char kUsage[] =
    "usage: kelvane-cli apply [--settings FILE] [--folder DIR] [--standard|--custom] "
    "[-german|-english]\r\n"
    "       kelvane-cli restore DIR\r\n";

struct ApplyArgs {
  std::optional<std::string> settings_file;
  std::optional<std::string> folder;
  std::optional<TweakMode> mode;
  std::string switches;  // the language switches, as the window reads its command line
};

std::optional<ApplyArgs> ParseApply(const std::vector<std::string>& args) {
  ApplyArgs parsed;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--settings" && has_value) {
      parsed.settings_file = args[++i];
    } else if (a == "--folder" && has_value) {
      parsed.folder = args[++i];
    } else if (a == "--standard" || a == "--custom") {
      parsed.mode = a == "--standard" ? TweakMode::Standard : TweakMode::Custom;
    } else if (a == "-german" || a == "-english") {
      parsed.switches += " " + a;
    } else {
      return std::nullopt;
    }
  }
  return parsed;
}

CliResult Apply(const ApplyArgs& args, CliPlatform& p) {
  TweakOptions options;
  std::string language_key;
  if (args.settings_file) {
    options = ReadOptions(p.profile, *args.settings_file);
    language_key = ReadIniString(p.profile, *args.settings_file, "Language");
  }
  if (args.mode) options.mode = *args.mode;
  if (args.folder) options.icq_folder = *args.folder;
  const UiLanguage language =
      ChooseLanguage(p.system.NativeLanguageName(), args.switches, language_key);

  const std::string folder = WithBackslash(options.icq_folder);
  if (!IsIcqFolder(p.fs, folder)) {
    return {kExitNotIcq, language == UiLanguage::German ? "Kein ICQ-Verzeichnis gefunden!\r\n"
                                                        : "No ICQ folder found!\r\n"};
  }
  RunStatus status;
  RunContext run{p.fs, p.resources, p.system, options, status};
  ApplyTweaks(folder, run);
  const Report report = ChooseReport(status, "", language);
  return {report.success ? kExitSuccess : kExitRunFailed, report.text + "\r\n"};
}

CliResult Restore(const std::string& folder_text, CliPlatform& p) {
  std::vector<std::string_view> relatives;
  for (const TargetFile& t : kTargetFiles) relatives.push_back(t.path);
  const std::string folder = WithBackslash(folder_text);
  CliResult result{kExitSuccess, ""};
  for (const RestoreResult& r : RestoreBackups(p.fs, folder, relatives)) {
    result.output += (r.restored ? "restored " : "could not restore ") + r.relative + "\r\n";
    if (!r.restored) result.exit_code = kExitRunFailed;
  }
  if (result.output.empty()) result.output = "nothing to restore\r\n";
  return result;
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args, CliPlatform& platform) {
  if (!args.empty() && args[0] == "apply") {
    if (auto parsed = ParseApply(args)) return Apply(*parsed, platform);
  } else if (args.size() == 2 && args[0] == "restore") {
    return Restore(args[1], platform);
  }
  return {kExitUsage, kUsage};
}

}  // namespace kelvane
