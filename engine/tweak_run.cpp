#include "engine/tweak_run.h"

#include "engine/backup.h"
#include "engine/templates.h"
#include "platform/confined_file_system.h"
#include "protect/reset_protection.h"

namespace kelvane {

const std::array<TargetFile, 12> kTargetFiles = {{
    {101, "imApp\\content\\MUICore\\MainDlgPanelOwner.box", &GenerateMainDlgPanelOwnerBox, false},
    {102, "imApp\\content\\MUIMessage\\MsgSessionPanel.box", &GenerateMsgSessionPanelBox, false},
    {103, "imApp\\theme\\MUIMessage\\MsgSessionDlg.style.box", &GenerateMsgSessionDlgStyleBox,
     false},
    {104, "imApp\\content\\MUICore\\MainDlg.box", &GenerateMainDlgBox, false},
    {105, "imApp\\content\\MUICore\\ContentPanelCL.box", &GenerateContentPanelCLBox, false},
    {106, "imApp\\content\\MUIMessage\\MsgSessionDlg.box", &GenerateMsgSessionDlgBox, false},
    {107, "packages\\german\\language\\de-DE\\MsgSessionPanel.dtd",
     &GenerateGermanMsgSessionPanelDtd, true},
    {108, "imApp\\resources\\en-US\\MsgSessionPanel.dtd", &GenerateMsgSessionPanelDtd, false},
    {109, "imApp\\resources\\en-US\\MsgSessionDlg.dtd", &GenerateMsgSessionDlgDtd, false},
    {110, "imApp\\theme\\MUICore\\MainDlg.style.box", &GenerateMainDlgStyleBox, false},
    {111, "imApp\\theme\\MUICore\\MainDlgPanelOwner.style.box", &GenerateMainDlgPanelOwnerStyleBox,
     false},
    {112, "imApp\\theme\\MUICore\\LifestreamTab.style.box", &GenerateLifestreamTabStyleBox, false},
}};

void ApplyTweaks(const std::string& folder, RunContext& outer) {
  // Nothing below the ICQ folder is reached through a junction or link planted there.
  ConfinedFileSystem fs(outer.fs, folder);
  RunContext run{fs, outer.resources, outer.system, outer.options, outer.status};
  // Tested once, before anything changes, so every German step sees the same answer.
  const bool german_package_present = run.fs.FolderExists(folder + "packages\\german");
  auto handled = [&](const TargetFile& t) { return german_package_present || !t.german_only; };
  auto path_of = [&](const TargetFile& t) { return folder + std::string(t.path); };

  for (const TargetFile& t : kTargetFiles) {
    if (handled(t))
      run.fs.SetNormalAttributes(path_of(t));
  }
  // Only the first run meets the user's own files: later ones would keep Kelvane's as theirs.
  const bool first_run = !run.fs.FolderExists(folder + kBackupFolder);
  for (const TargetFile& t : kTargetFiles) {
    if (handled(t) && first_run)
      KeepBackup(run.fs, folder, t.path);
  }
  for (const TargetFile& t : kTargetFiles) {
    if (handled(t))
      run.fs.DeleteFileAt(path_of(t));
  }
  for (const TargetFile& t : kTargetFiles) {
    if (handled(t))
      ExtractTemplate(run, t.template_id, kTemplateType, path_of(t));
  }
  if (run.options.custom()) {
    ApplyResetProtection(run, folder, german_package_present);
  } else {
    RemoveResetProtection(run, folder, german_package_present);
  }
  for (const TargetFile& t : kTargetFiles) {
    if (handled(t))
      (*t.generator)(path_of(t), run);
  }
}

}  // namespace kelvane
