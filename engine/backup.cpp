#include "engine/backup.h"

namespace kelvane {
namespace {

std::string CopyPath(const std::string& folder, std::string_view relative) {
  return folder + kBackupFolder + std::string(relative);
}

// Beside the copy's place, telling that the installation had no such file.
std::string AbsentNote(const std::string& folder, std::string_view relative) {
  return CopyPath(folder, relative) + ".absent";
}

Restored Restore(FileSystem& fs,
                 const std::string& folder,
                 std::string_view relative,
                 const Kept& kept,
                 const MadeByKelvane& made_by_kelvane) {
  const std::string target = folder + std::string(relative);
  switch (kept.kind) {
    case Kept::Copy:
      // The user's bytes there already need no write that a program holding the file may refuse.
      if (fs.ReadFile(target) == kept.copy)
        return Restored::Yes;
      fs.SetNormalAttributes(target);
      return fs.WriteFile(target, kept.copy) ? Restored::Yes : Restored::Failed;
    case Kept::Absent: {
      const std::optional<std::string> bytes = fs.ReadFile(target);
      if (!bytes)
        return Restored::Failed;
      if (!made_by_kelvane(relative, *bytes)) {
        ForgetAbsent(fs, folder, relative);
        return Restored::NoCopy;
      }
      fs.SetNormalAttributes(target);
      return fs.DeleteFileAt(target) ? Restored::Removed : Restored::Failed;
    }
    case Kept::Unreadable:
      return Restored::Failed;
    case Kept::Nothing:
      break;
  }
  return Restored::NoCopy;
}

}  // namespace

Kept ReadKept(FileSystem& fs, const std::string& folder, std::string_view relative) {
  const std::string copy = CopyPath(folder, relative);
  if (std::optional<std::string> bytes = fs.ReadFile(copy))
    return {Kept::Copy, std::move(*bytes)};
  if (fs.FileExists(copy))
    return {Kept::Unreadable, {}};
  return {fs.FileExists(AbsentNote(folder, relative)) ? Kept::Absent : Kept::Nothing, {}};
}

bool KeepCopy(FileSystem& fs,
              const std::string& folder,
              std::string_view relative,
              const std::optional<std::string>& bytes) {
  const std::string path = bytes ? CopyPath(folder, relative) : AbsentNote(folder, relative);
  MakeParentFolders(fs, path);
  return fs.WriteNewFile(path, bytes.value_or(""));
}

void ForgetAbsent(FileSystem& fs, const std::string& folder, std::string_view relative) {
  fs.DeleteFileAt(AbsentNote(folder, relative));
}

std::vector<RestoreResult> RestoreBackups(FileSystem& fs,
                                          const std::string& folder,
                                          const std::vector<std::string_view>& relatives,
                                          const MadeByKelvane& made_by_kelvane) {
  std::vector<RestoreResult> results;
  if (!fs.FolderExists(folder + kBackupFolder))
    return results;
  for (std::string_view relative : relatives) {
    const std::string target = folder + std::string(relative);
    const Kept kept = ReadKept(fs, folder, relative);
    // Where nothing is kept and nothing stands, or the file Kelvane made is gone already, the
    // installation is as it was.
    if ((kept.kind == Kept::Nothing || kept.kind == Kept::Absent) && !fs.FileExists(target))
      continue;
    results.push_back(
        {std::string(relative), Restore(fs, folder, relative, kept, made_by_kelvane)});
  }
  return results;
}

}  // namespace kelvane
