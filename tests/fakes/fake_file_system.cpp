#include "tests/fakes/fake_file_system.h"

#include <cctype>
#include <vector>

namespace kelvane {
namespace {

std::string Trim(std::string path) {
  while (path.size() > 3 && path.back() == '\\')
    path.pop_back();
  return path;
}

std::string Key(const std::string& path) {
  std::string key = Trim(path);
  for (char& c : key)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

std::string ParentOf(const std::string& path) {
  size_t sep = path.find_last_of('\\');
  return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

std::string NameOf(const std::string& path) {
  return path.substr(path.find_last_of('\\') + 1);
}

bool IsDriveRoot(const std::string& key) {
  return key.size() == 2 && key[1] == ':';
}

// Windows wildcard match without regard to case; "*.*" matches names without a dot too.
bool Matches(const char* pattern, const char* name) {
  if (*pattern == '\0')
    return *name == '\0';
  if (pattern[0] == '*' && pattern[1] == '.' && pattern[2] == '*' && pattern[3] == '\0') {
    return true;
  }
  if (*pattern == '*')
    return Matches(pattern + 1, name) || (*name && Matches(pattern, name + 1));
  if (*name == '\0')
    return false;
  if (*pattern != '?' && std::tolower(static_cast<unsigned char>(*pattern)) !=
                             std::tolower(static_cast<unsigned char>(*name))) {
    return false;
  }
  return Matches(pattern + 1, name + 1);
}

}  // namespace

FakeFileSystem::Node& FakeFileSystem::AddFolder(const std::string& path) {
  const std::string trimmed = Trim(path);
  const std::string parent = ParentOf(trimmed);
  if (!parent.empty() && !IsDriveRoot(Key(parent)))
    AddFolder(parent);
  Node& node = nodes_[Key(trimmed)];
  if (node.name.empty())
    node.name = NameOf(trimmed);
  node.directory = true;
  return node;
}

FakeFileSystem::Node& FakeFileSystem::AddFile(const std::string& path, std::string content) {
  AddFolder(ParentOf(Trim(path)));
  Node& node = nodes_[Key(path)];
  node = Node{};
  node.name = NameOf(Trim(path));
  node.content = std::move(content);
  return node;
}

FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) {
  auto it = nodes_.find(Key(path));
  return it == nodes_.end() ? nullptr : &it->second;
}

bool FakeFileSystem::ParentIsFolder(const std::string& path) {
  const std::string parent = ParentOf(Trim(path));
  if (IsDriveRoot(Key(parent)))
    return true;
  Node* node = Find(parent);
  return node && node->directory;
}

bool FakeFileSystem::SetNormalAttributes(const std::string& path) {
  Node* node = Find(path);
  if (!node)
    return false;
  node->read_only = node->hidden = node->system = false;
  return true;
}

bool FakeFileSystem::DeleteFileAt(const std::string& path) {
  Node* node = Find(path);
  if (!node || node->directory || node->read_only || node->undeletable)
    return false;
  nodes_.erase(Key(path));
  return true;
}

std::vector<std::string> FakeFileSystem::MatchingFiles(const std::string& pattern) {
  const std::string folder = Key(ParentOf(pattern)) + "\\";
  const std::string name_pattern = NameOf(pattern);
  std::vector<std::string> matches;
  for (const auto& [key, node] : nodes_) {
    const bool child = key.size() > folder.size() && key.compare(0, folder.size(), folder) == 0 &&
                       key.find('\\', folder.size()) == std::string::npos;
    if (child && !node.directory && Matches(name_pattern.c_str(), node.name.c_str())) {
      matches.push_back(key);
    }
  }
  return matches;
}

bool FakeFileSystem::SetNormalAttributesMatching(const std::string& pattern) {
  const std::vector<std::string> matches = MatchingFiles(pattern);
  bool all = !matches.empty();
  for (const std::string& key : matches)
    all &= SetNormalAttributes(key);
  return all;
}

bool FakeFileSystem::DeleteMatching(const std::string& pattern) {
  const std::vector<std::string> matches = MatchingFiles(pattern);
  bool all = !matches.empty();
  for (const std::string& key : matches)
    all &= DeleteFileAt(key);
  return all;
}

bool FakeFileSystem::MakeDirectory(const std::string& path) {
  if (Find(path) || !ParentIsFolder(path))
    return false;
  AddFolder(path);
  return true;
}

bool FakeFileSystem::DeleteFolder(const std::string& path) {
  Node* node = Find(path);
  if (!node || !node->directory)
    return false;
  const std::string prefix = Key(path) + "\\";
  std::vector<std::string> inside;
  for (const auto& [key, n] : nodes_) {
    if (key.compare(0, prefix.size(), prefix) == 0)
      inside.push_back(key);
  }
  // Deepest first, so folders are empty when their turn comes.
  for (auto it = inside.rbegin(); it != inside.rend(); ++it) {
    Node& n = nodes_.at(*it);
    if (!n.directory && (n.read_only || n.undeletable))
      continue;
    if (n.directory && HoldsAnything(*it))
      continue;
    nodes_.erase(*it);
  }
  if (HoldsAnything(Key(path)))
    return false;
  nodes_.erase(Key(path));
  return true;
}

// Looked up by the first key below the folder: "u.bak" and "u 2" sort between "u" and "u\x".
bool FakeFileSystem::HoldsAnything(const std::string& key) const {
  const std::string below = key + "\\";
  auto first = nodes_.lower_bound(below);
  return first != nodes_.end() && first->first.compare(0, below.size(), below) == 0;
}

std::optional<std::string> FakeFileSystem::ReadFile(const std::string& path) {
  Node* node = Find(path);
  if (!node || node->directory || node->unreadable)
    return std::nullopt;
  return node->content;
}

// A holder without delete sharing blocks the swap, one that shares no writing either the
// rewrite in place too.
bool FakeFileSystem::Blocked(const Node& node) const {
  return node.read_only || (node.undeletable && node.unwritable) || fail_writes;
}

bool FakeFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
  Node* node = Find(path);
  if (node && (node->directory || Blocked(*node)))
    return false;
  if (!node && (!ParentIsFolder(path) || fail_writes))
    return false;
  if (!node)
    node = &AddFile(path);
  node->content.assign(bytes);
  return true;
}

bool FakeFileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
  if (Find(path) || !ParentIsFolder(path) || fail_writes)
    return false;
  AddFile(path, std::string(bytes));
  return true;
}

Rewrite FakeFileSystem::RewriteFile(const std::string& path, FileEdit& edit) {
  Node* node = Find(path);
  if (!node || node->directory || node->unreadable)
    return Rewrite::Unreadable;
  StringSink sink;
  const std::string old = node->content;
  for (size_t at = 0; at < old.size(); at += kPieceSize)
    edit.Take(std::string_view(old).substr(at, kPieceSize), sink);
  if (!edit.Finish(sink))
    return Rewrite::Kept;
  if (Blocked(*node))
    return Rewrite::Failed;
  node->content = std::move(sink.text);
  return Rewrite::Replaced;
}

std::optional<DirEntry> FakeFileSystem::Lookup(const std::string& path) {
  Node* node = Find(path);
  if (!node || path.back() == '\\' || path.find_first_of("*?") != std::string::npos) {
    return std::nullopt;
  }
  return DirEntry{node->name, node->directory, node->hidden, node->system, node->read_only};
}

bool FakeFileSystem::FolderExists(const std::string& path) {
  if (IsDriveRoot(Key(path)))
    return true;
  Node* node = Find(path);
  return node && node->directory;
}

bool FakeFileSystem::FileExists(const std::string& path) {
  Node* node = Find(path);
  return node && !node->directory;
}

bool FakeFileSystem::IsLink(const std::string& path) {
  Node* node = Find(path);
  return node && node->link;
}

}  // namespace kelvane
