#include "engine/tweak_run.h"

#include <algorithm>

#include "engine/backup.h"
#include "engine/marking.h"
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

namespace {

// Whether the target is handled: the German file only while the German language package has
// the file's folder. A package uninstalled may leave "packages\german" behind, with Kelvane's
// own update lock in it.
bool Handled(FileSystem& fs, const std::string& folder, const TargetFile& t) {
  return !t.german_only ||
         fs.FolderExists(folder + std::string(t.path.substr(0, t.path.find_last_of('\\'))));
}

// Whether the bytes are the file Kelvane makes for the target where the installation has none,
// filled in some state.
bool IsOwnMade(Resources& resources, const TargetFile& t, std::string_view bytes) {
  const std::optional<std::string> text = ExtractTemplate(resources, t.template_id);
  return text && IsFilledTemplate(t.generator->table(), *text, bytes);
}

struct Template {
  std::string text;
  bool ours;  // the installation has no such file: Kelvane makes it, noted as its own
};

// Kelvane's own template, for a file the installation does not have.
std::optional<Template> Ours(RunContext& run, const TargetFile& t) {
  std::optional<std::string> text = ExtractTemplate(run.resources, t.template_id);
  return text ? std::optional<Template>(Template{std::move(*text), true}) : std::nullopt;
}

// The user's own file with its spots marked; nullopt when it is not recognised.
std::optional<Template> Marked(const TargetFile& t, const std::string& bytes) {
  std::optional<MarkedFile> marked = MarkFile(t.generator->table(), bytes);
  return marked ? std::optional<Template>(Template{std::move(marked->text), false}) : std::nullopt;
}

// Whether the template made before goes on: the installation's file is gone or still one
// Kelvane wrote from it, under whatever options. Else the file is the user's again.
bool GoesOn(const TargetFile& t,
            const std::optional<Template>& made,
            const std::optional<std::string>& installed) {
  return !made || !installed || IsFilledTemplate(t.generator->table(), made->text, *installed);
}

// The template of one target, made from the user's own file so that every byte but the marked
// spots stays theirs: from the copy kept before Kelvane first changed it while the installation
// holds what Kelvane wrote from it, else from the file the installation holds, whose copy is
// kept first if there is none. Our own while the installation has no file of its own, noted as
// such. Nullopt, and the file left as it is, when it is not recognised or cannot be read, when
// its copy cannot be kept, or when our own cannot be loaded.
std::optional<Template> MakeTemplate(RunContext& run,
                                     const std::string& folder,
                                     const TargetFile& t) {
  FileSystem& fs = run.fs;
  const std::string path = folder + std::string(t.path);
  const std::optional<std::string> installed = fs.ReadFile(path);
  if (!installed && fs.FileExists(path))  // there, but it cannot be read
    return std::nullopt;
  const Kept kept = ReadKept(fs, folder, t.path);
  switch (kept.kind) {
    case Kept::Copy: {
      // A file changed since (by hand, another skin, ICQ's own update) keeps its changes.
      std::optional<Template> made = Marked(t, kept.copy);
      return GoesOn(t, made, installed) ? made : Marked(t, *installed);
    }
    case Kept::Absent: {
      std::optional<Template> made = Ours(run, t);
      if (GoesOn(t, made, installed))
        return made;
      // The installation has a file of its own now, which restore must not take away.
      ForgetAbsent(fs, folder, t.path);
      break;
    }
    case Kept::Unreadable:
      return std::nullopt;
    case Kept::Nothing:
      break;
  }
  std::optional<Template> made = installed ? Marked(t, *installed) : Ours(run, t);
  if (!made || !KeepCopy(fs, folder, t.path, installed))
    return std::nullopt;
  return made;
}

}  // namespace

void ApplyTweaks(const std::string& folder, RunContext& outer) {
  // Nothing below the ICQ folder is reached through a junction or link planted there.
  ConfinedFileSystem fs(outer.fs, folder);
  RunContext run{fs, outer.resources, outer.system, outer.options, outer.status};
  // Tested once, before anything changes, so every German step sees the same answer.
  const bool german_package_present = fs.FolderExists(folder + "packages\\german");

  std::vector<std::pair<const TargetFile*, Template>> templates;
  for (const TargetFile& t : kTargetFiles) {
    if (Handled(fs, folder, t)) {
      if (std::optional<Template> made = MakeTemplate(run, folder, t)) {
        templates.emplace_back(&t, std::move(*made));
      } else {
        run.status.Raise(Failure::DataAccessFailed, folder + std::string(t.path));
      }
    }
  }
  if (run.options.custom()) {
    ApplyResetProtection(run, folder, german_package_present);
  } else {
    RemoveResetProtection(run, folder, german_package_present);
  }
  for (const auto& [t, made] : templates) {
    const std::string path = folder + std::string(t->path);
    (*t->generator)(path, made.text, run);
    // Restore removes what is noted as Kelvane's own: a note must not outlive a file that could
    // not be made, or a file the installation gets later would go with it.
    if (made.ours && !fs.FileExists(path))
      ForgetAbsent(fs, folder, t->path);
  }
}

std::vector<RestoreResult> RestoreTweaks(const std::string& folder,
                                         FileSystem& outer,
                                         Resources& resources) {
  ConfinedFileSystem fs(outer, folder);  // as in a run: nothing reached through a link
  // The German file goes with its package: its copy waits for the package to come back.
  std::vector<std::string_view> relatives;
  for (const TargetFile& t : kTargetFiles) {
    if (Handled(fs, folder, t))
      relatives.push_back(t.path);
  }
  const auto made_by_kelvane = [&](std::string_view relative, std::string_view bytes) {
    const auto t = std::find_if(kTargetFiles.begin(), kTargetFiles.end(),
                                [&](const TargetFile& t) { return t.path == relative; });
    return IsOwnMade(resources, *t, bytes);
  };
  return RestoreBackups(fs, folder, relatives, made_by_kelvane);
}

}  // namespace kelvane
