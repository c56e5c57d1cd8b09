// Fakes for the small platform services: templates read from the source tree, fixed system
// facts, an in-memory settings file.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <tuple>

#include "platform/profile.h"
#include "platform/resources.h"
#include "platform/run_lock.h"
#include "platform/system_info.h"

namespace kelvane {

// The templates as the source tree holds them ("templates/101_<name>").
class TemplateDirResources : public Resources {
 public:
  explicit TemplateDirResources(std::string dir) : dir_(std::move(dir)) {}
  std::optional<std::string> Load(const std::string& type, uint16_t id) override {
    if (type != "Custom")
      return std::nullopt;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
      if (entry.path().filename().string().starts_with(std::to_string(id) + "_")) {
        std::ifstream in(entry.path(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
      }
    }
    return std::nullopt;
  }

 private:
  std::string dir_;
};

class FakeSystemInfo : public SystemInfo {
 public:
  std::string system_directory = "C:\\windows\\system32";
  std::string native_language_name = "English";
  std::string SystemDirectory() override { return system_directory; }
  std::string NativeLanguageName() override { return native_language_name; }
};

// One run at a time is Windows' to show.
class FakeRunLock : public RunLock {
 public:
  bool Acquire() override { return !held_elsewhere; }
  void Release() override {}
  bool held_elsewhere = false;  // by a run that does not let go
};

class FakeProfile : public Profile {
 public:
  using Key = std::tuple<std::string, std::string, std::string>;
  std::map<Key, std::string> values;
  std::set<std::pair<std::string, std::string>> sections;  // beside those values imply
  std::string Read(const std::string& file,
                   const std::string& section,
                   const std::string& key) override {
    auto it = values.find({file, section, key});
    return it == values.end() ? std::string() : it->second;
  }
  bool HasSection(const std::string& file, const std::string& section) override {
    auto it = values.lower_bound({file, section, ""});
    return sections.contains({file, section}) ||
           (it != values.end() && std::get<0>(it->first) == file &&
            std::get<1>(it->first) == section);
  }
  void Write(const std::string& file,
             const std::string& section,
             const std::string& key,
             const std::string& value) override {
    values[{file, section, key}] = value;
  }
};

}  // namespace kelvane
