// In-memory file system with Windows semantics: names match without regard to case and keep
// the case they were created with; attributes; files held open by another program.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace kelvane {

class FakeFileSystem : public FileSystem {
 public:
  struct Node {
    std::string name;  // last path component as created
    bool directory = false, read_only = false, hidden = false, system = false;
    bool undeletable = false;  // held open without delete sharing
    bool unwritable = false;   // held open without write sharing
    bool unreadable = false;
    // A junction or link: the nodes below it stand for what it points to.
    bool link = false;
    std::string content;
  };

  // Test set-up: creates the file and every folder above it.
  Node& AddFile(const std::string& path, std::string content = {});
  Node& AddFolder(const std::string& path);
  Node* Find(const std::string& path);
  // Every write fails from now on, as on a full disk.
  bool fail_writes = false;
  // Rewrites hand the old bytes over in pieces this long, so that every edit meets pieces
  // that end inside its lines and line ends.
  static constexpr size_t kPieceSize = 3;

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
  bool HoldsAnything(const std::string& key) const;
  bool Blocked(const Node& node) const;
  bool ParentIsFolder(const std::string& path);
  // Calls call on every file (never a folder) the pattern matches; false when none or one fails.
  bool ForEachMatching(const std::string& pattern,
                       bool (FakeFileSystem::*call)(const std::string&));
  std::map<std::string, Node> nodes_;  // by lower-case full path without trailing backslash
};

}  // namespace kelvane
