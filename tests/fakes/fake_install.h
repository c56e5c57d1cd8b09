// Fakes for what the installation search and the version check read: registry values, long
// names of short paths, version resources.
#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <tuple>

#include "platform/file_version.h"
#include "platform/path_names.h"
#include "platform/registry.h"

namespace kelvane {

// Keys and value names match without regard to case, as in the registry.
class FakeRegistry : public Registry {
 public:
  void Set(RegistryRoot root, const std::string& key, const std::string& name, std::string data) {
    values_[{root, Lower(key), Lower(name)}] = std::move(data);
  }
  std::optional<std::string> ReadString(RegistryRoot root,
                                        const std::string& key,
                                        const std::string& name) override {
    auto it = values_.find({root, Lower(key), Lower(name)});
    return it == values_.end() ? std::nullopt : std::optional(it->second);
  }

 private:
  static std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
  }
  std::map<std::tuple<RegistryRoot, std::string, std::string>, std::string> values_;
};

// Only the paths given a long form have one; every other path comes back unchanged. The working
// folder is C:\.
class FakePathNames : public PathNames {
 public:
  std::map<std::string, std::string> long_paths;
  std::string LongPath(const std::string& path) override {
    auto it = long_paths.find(path);
    return it == long_paths.end() ? path : it->second;
  }
  std::string FullPath(const std::string& path) override {
    const bool whole = path.starts_with('\\') || (path.size() >= 2 && path[1] == ':');
    return whole ? path : "C:\\" + path;
  }
};

class FakeFileVersions : public FileVersions {
 public:
  std::map<std::string, FileVersion> versions;  // by exact path
  std::optional<FileVersion> Read(const std::string& path) override {
    auto it = versions.find(path);
    return it == versions.end() ? std::nullopt : std::optional(it->second);
  }
};

}  // namespace kelvane
