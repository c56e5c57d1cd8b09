#include "tests/fakes/fake_file_system.h"

#include <cctype>

namespace kelvane {
namespace {

std::string Trim(std::string path) {
  while (path.size() > 3 && path.back() == '\\')
    path.pop_back();
  return path;
}

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Key(const std::string& path) {
  return Lower(Trim(path));
}

std::string ParentOf(const std::string& path) {
  const size_t sep = path.find_last_of('\\');
  return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

std::string NameOf(const std::string& path) {
  return path.substr(path.find_last_of('\\') + 1);
}

bool IsDriveRoot(const std::string& path) {
  return Trim(path).size() == 2 && path[1] == ':';
}

// Windows wildcard match of lower-case texts; "*.*" matches names without a dot too.
bool Matches(const char* pattern, const char* name) {
  if (std::string_view(pattern) == "*.*")
    return true;
  if (*pattern == '*')
    return Matches(pattern + 1, name) || (*name && Matches(pattern, name + 1));
  if (*pattern == '\0' || *name == '\0')
    return *pattern == *name;
  return (*pattern == '?' || *pattern == *name) && Matches(pattern + 1, name + 1);
}

}  // namespace

FakeFileSystem::Node& FakeFileSystem::AddFolder(const std::string& path) {
  const std::string parent = ParentOf(Trim(path));
  if (!parent.empty() && !IsDriveRoot(parent))
    AddFolder(parent);
  Node& node = nodes_[Key(path)];
  if (node.name.empty())
    node.name = NameOf(Trim(path));
  node.directory = true;
  return node;
}

FakeFileSystem::Node& FakeFileSystem::AddFile(const std::string& path, std::string content) {
  AddFolder(ParentOf(Trim(path)));
  return nodes_[Key(path)] = Node{.name = NameOf(Trim(path)), .content = std::move(content)};
}

FakeFileSystem::Node* FakeFileSystem::Find(const std::string& path) {
  auto it = nodes_.find(Key(path));
  return it == nodes_.end() ? nullptr : &it->second;
}

bool FakeFileSystem::ParentIsFolder(const std::string& path) {
  return FolderExists(ParentOf(Trim(path)));
}

bool FakeFileSystem::SetNormalAttributes(const std::string& path) {
  Node* node = Find(path);
  if (node)
    node->read_only = node->hidden = node->system = false;
  return node != nullptr;
}

bool FakeFileSystem::DeleteFileAt(const std::string& path) {
  Node* node = Find(path);
  return node && !node->directory && !node->read_only && !node->undeletable &&
         nodes_.erase(Key(path)) > 0;
}

bool FakeFileSystem::ForEachMatching(const std::string& pattern,
                                     bool (FakeFileSystem::*call)(const std::string&)) {
  const std::string folder = Key(ParentOf(pattern)) + "\\", name = Lower(NameOf(pattern));
  std::vector<std::string> matches;
  for (const auto& [key, node] : nodes_) {
    if (key.size() > folder.size() && key.starts_with(folder) &&
        key.find('\\', folder.size()) == std::string::npos && !node.directory &&
        Matches(name.c_str(), key.c_str() + folder.size())) {
      matches.push_back(key);
    }
  }
  bool all = !matches.empty();
  for (const std::string& key : matches)
    all &= (this->*call)(key);
  return all;
}

bool FakeFileSystem::SetNormalAttributesMatching(const std::string& pattern) {
  return ForEachMatching(pattern, &FakeFileSystem::SetNormalAttributes);
}

bool FakeFileSystem::DeleteMatching(const std::string& pattern) {
  return ForEachMatching(pattern, &FakeFileSystem::DeleteFileAt);
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
  std::vector<std::string> inside;
  for (const auto& [key, n] : nodes_) {
    if (key.starts_with(Key(path) + "\\"))
      inside.push_back(key);
  }
  // Deepest first, so folders are empty when their turn comes; a file that cannot go stays.
  for (auto key = inside.rbegin(); key != inside.rend(); ++key) {
    if (!nodes_.at(*key).directory)
      DeleteFileAt(*key);
    else if (!HoldsAnything(*key))
      nodes_.erase(*key);
  }
  return !HoldsAnything(Key(path)) && nodes_.erase(Key(path)) > 0;
}

// Looked up by the first key below the folder: "u.bak" and "u 2" sort between "u" and "u\x".
bool FakeFileSystem::HoldsAnything(const std::string& key) const {
  auto first = nodes_.lower_bound(key + "\\");
  return first != nodes_.end() && first->first.starts_with(key + "\\");
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

bool FakeFileSystem::ReadInPieces(const std::string& path,
                                  const std::function<void(std::string_view)>& take) {
  const std::optional<std::string> bytes = ReadFile(path);
  if (!bytes)
    return false;
  for (size_t at = 0; at < bytes->size(); at += kPieceSize)
    take(std::string_view(*bytes).substr(at, kPieceSize));
  return true;
}

Rewrite FakeFileSystem::RewriteFile(const std::string& path, FileEdit& edit) {
  StringSink sink;
  if (!ReadInPieces(path, [&](std::string_view piece) { edit.Take(piece, sink); }))
    return Rewrite::Unreadable;
  if (!edit.Finish(sink))
    return Rewrite::Kept;
  Node& node = *Find(path);
  if (Blocked(node))
    return Rewrite::Failed;
  node.content = std::move(sink.text);
  return Rewrite::Replaced;
}

std::optional<DirEntry> FakeFileSystem::Lookup(const std::string& path) {
  Node* node = Find(path);
  if (!node || path.back() == '\\' || path.find_first_of("*?") != std::string::npos)
    return std::nullopt;
  return DirEntry{node->name, node->directory, node->hidden, node->system, node->read_only};
}

bool FakeFileSystem::FolderExists(const std::string& path) {
  Node* node = Find(path);
  return IsDriveRoot(path) || (node && node->directory);
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
