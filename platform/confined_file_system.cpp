#include "platform/confined_file_system.h"

#include <algorithm>

namespace kelvane {
namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Windows compares names without regard to case.
bool StartsWithFolder(const std::string& path, const std::string& folder) {
  return path.size() >= folder.size() &&
         std::equal(folder.begin(), folder.end(), path.begin(),
                    [](char a, char b) { return Lower(a) == Lower(b); });
}

}  // namespace

bool ConfinedFileSystem::Reachable(const std::string& path, Ask ask) {
  if (!StartsWithFolder(path, folder_))
    return true;
  std::string within = path;
  while (within.size() > folder_.size() && within.back() == '\\')
    within.pop_back();
  // Each path on the way: the first folder below the folder, the next, ..., the path itself.
  for (size_t end = folder_.size(); end < within.size(); ++end) {
    end = std::min(within.find('\\', end), within.size());
    std::string on_the_way = within.substr(0, end);
    if (ask == Ask::kOnce && plain_.contains(on_the_way))
      continue;
    if (inner_.IsLink(on_the_way))
      return false;
    plain_.insert(std::move(on_the_way));
  }
  return true;
}

bool ConfinedFileSystem::FolderReachable(const std::string& pattern) {
  return Reachable(pattern.substr(0, pattern.find_last_of('\\') + 1), Ask::kAgain);
}

bool ConfinedFileSystem::SetNormalAttributes(const std::string& path) {
  return Reachable(path, Ask::kAgain) && inner_.SetNormalAttributes(path);
}

bool ConfinedFileSystem::SetNormalAttributesMatching(const std::string& pattern) {
  return FolderReachable(pattern) && inner_.SetNormalAttributesMatching(pattern);
}

bool ConfinedFileSystem::DeleteFileAt(const std::string& path) {
  return Reachable(path, Ask::kAgain) && inner_.DeleteFileAt(path);
}

bool ConfinedFileSystem::DeleteMatching(const std::string& pattern) {
  return FolderReachable(pattern) && inner_.DeleteMatching(pattern);
}

bool ConfinedFileSystem::MakeDirectory(const std::string& path) {
  return Reachable(path, Ask::kAgain) && inner_.MakeDirectory(path);
}

bool ConfinedFileSystem::DeleteFolder(const std::string& path) {
  return Reachable(path, Ask::kAgain) && inner_.DeleteFolder(path);
}

std::optional<std::string> ConfinedFileSystem::ReadFile(const std::string& path) {
  return Reachable(path) ? inner_.ReadFile(path) : std::nullopt;
}

bool ConfinedFileSystem::WriteFile(const std::string& path, std::string_view bytes) {
  return Reachable(path, Ask::kAgain) && inner_.WriteFile(path, bytes);
}

bool ConfinedFileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
  return Reachable(path, Ask::kAgain) && inner_.WriteNewFile(path, bytes);
}

bool ConfinedFileSystem::ReadInPieces(const std::string& path,
                                      const std::function<void(std::string_view)>& take) {
  return Reachable(path) && inner_.ReadInPieces(path, take);
}

Rewrite ConfinedFileSystem::RewriteFile(const std::string& path, FileEdit& edit) {
  return Reachable(path, Ask::kAgain) ? inner_.RewriteFile(path, edit) : Rewrite::Unreadable;
}

std::optional<DirEntry> ConfinedFileSystem::Lookup(const std::string& path) {
  return Reachable(path) ? inner_.Lookup(path) : std::nullopt;
}

bool ConfinedFileSystem::FolderExists(const std::string& path) {
  return Reachable(path) && inner_.FolderExists(path);
}

bool ConfinedFileSystem::FileExists(const std::string& path) {
  return Reachable(path) && inner_.FileExists(path);
}

bool ConfinedFileSystem::IsLink(const std::string& path) {
  return Reachable(path) && inner_.IsLink(path);
}

}  // namespace kelvane
