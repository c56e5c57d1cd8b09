// The file system as Kelvane may use it below an ICQ folder. Kelvane runs elevated, while a
// user without administrator rights can often write inside that folder: a junction or link
// planted there must never lead a deletion, a write or a read to what it points to.
#pragma once

#include <set>
#include <string>

#include "platform/file_system.h"

namespace kelvane {

// Every path below the folder is refused, answering as if nothing were there, when a junction,
// symbolic link or mount point stands at any of its components after the folder, the last one
// included. Paths outside the folder pass through unchanged.
class ConfinedFileSystem : public FileSystem {
 public:
  // The folder ends in a backslash.
  ConfinedFileSystem(FileSystem& inner, std::string folder)
      : inner_(inner), folder_(std::move(folder)) {}

  bool SetNormalAttributes(const std::string& path) override;
  bool SetNormalAttributesMatching(const std::string& pattern) override;
  bool DeleteFileAt(const std::string& path) override;
  bool DeleteMatching(const std::string& pattern) override;
  bool MakeDirectory(const std::string& path) override;
  bool DeleteFolder(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool ReadInPieces(const std::string& path,
                    const std::function<void(std::string_view)>& take) override;
  bool WriteFile(const std::string& path, std::string_view bytes) override;
  bool WriteNewFile(const std::string& path, std::string_view bytes) override;
  Rewrite RewriteFile(const std::string& path, FileEdit& edit) override;
  std::optional<DirEntry> Lookup(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool IsLink(const std::string& path) override;

 private:
  enum class Ask { kOnce, kAgain };
  // Whether no link stands below the folder on the way to path, the path itself included. A step
  // that changes something asks again, so that a link swapped in since an earlier step looked
  // cannot lead it.
  bool Reachable(const std::string& path, Ask ask = Ask::kOnce);
  // The same for the folder of a wildcard pattern, asked again.
  bool FolderReachable(const std::string& pattern);

  FileSystem& inner_;
  const std::string folder_;
  // The paths below it found to be no links, asked once by the steps that only look while this
  // view lives: for one run, or one look at the installation.
  std::set<std::string> plain_;
};

}  // namespace kelvane
