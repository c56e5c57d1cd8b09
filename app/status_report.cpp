#include "app/status_report.h"

#include <cstdio>

namespace kelvane {
namespace {

std::string_view KeptText(Kept::Kind kept) {
  switch (kept) {
    case Kept::Copy:
      return "kept";
    case Kept::Absent:
      return "absent";
    case Kept::Unreadable:
      return "unreadable";
    case Kept::Nothing:
      break;
  }
  return "none";
}

std::string_view InEffectText(InEffect in_effect) {
  switch (in_effect) {
    case InEffect::On:
      return "on";
    case InEffect::Off:
      return "off";
    case InEffect::Mixed:
      return "mixed";
    case InEffect::Unknown:
      break;
  }
  return "unknown";
}

std::string FileText(const FileStatus& file) {
  if (!file.present)
    return "missing";
  return std::string(file.recognised ? "recognised" : "not recognised") + ", copy " +
         std::string(KeptText(file.kept));
}

std::string Json(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      snprintf(escaped, sizeof(escaped), "\\u%04x", c);
      quoted += escaped;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

// A text given by its pointer would otherwise become a bool.
std::string Json(const char*) = delete;

std::string Json(bool value) {
  return value ? "true" : "false";
}

std::string Json(const std::optional<bool>& value) {
  return value ? Json(*value) : "null";
}

// {"a": x, "b": y} from the pairs given, each value already JSON.
std::string JsonObject(const std::vector<std::pair<std::string_view, std::string>>& members) {
  std::string object = "{";
  for (const auto& [name, value] : members)
    object += (object.size() > 1 ? ", " : "") + Json(name) + ": " + value;
  return object + "}";
}

std::string FileJson(const FileStatus& file) {
  std::vector<std::pair<std::string_view, std::string>> spots;
  for (const auto& [marker, value] : file.values)
    spots.emplace_back(marker, Json(value));
  return JsonObject({{"path", Json(file.target->path)},
                     {"present", Json(file.present)},
                     {"recognised", Json(file.recognised)},
                     {"copy", Json(KeptText(file.kept))},
                     {"spots", JsonObject(spots)}});
}

}  // namespace

std::string StatusText(const std::string& folder, const InstallationStatus& status) {
  std::string text = "ICQ folder: " + folder + "\r\n";
  for (const FileStatus& file : status.files) {
    text += std::string(file.target->path) + ": " + FileText(file) + "\r\n";
    for (const auto& [marker, value] : file.values)
      text += "  " + std::string(marker) + ": " + Json(value) + "\r\n";
  }
  text += "options:\r\n";
  for (const auto& [flag, in_effect] : status.options)
    text += "  " + std::string(flag->name) + ": " + std::string(InEffectText(in_effect)) + "\r\n";
  const auto on = [](bool lock) { return lock ? "on\r\n" : "off\r\n"; };
  text += std::string("update folder lock: ") + on(status.locks.update);
  text += std::string("German update folder lock: ") + on(status.locks.german_update);
  text += std::string("ad configuration lock: ") + on(status.locks.ad);
  text += "ad configuration lock of ConfigFiles: " +
          std::string(status.locks.root_ad ? on(*status.locks.root_ad) : "no such folder\r\n");
  if (!status.hosts_entries)
    return text + "hosts file: cannot be read\r\n";
  for (size_t i = 0; i < AdServerHosts.size(); ++i) {
    text += "hosts entry " + std::string(AdServerHosts[i]) + ": " +
            ((*status.hosts_entries)[i] ? "active\r\n" : "not active\r\n");
  }
  return text;
}

std::string StatusJson(const std::string& folder, const InstallationStatus& status) {
  std::string files = "[";
  for (const FileStatus& file : status.files)
    files += (files.size() > 1 ? ", " : "") + FileJson(file);
  std::vector<std::pair<std::string_view, std::string>> options, hosts;
  for (const auto& [flag, in_effect] : status.options)
    options.emplace_back(flag->name, Json(InEffectText(in_effect)));
  for (size_t i = 0; status.hosts_entries && i < AdServerHosts.size(); ++i)
    hosts.emplace_back(AdServerHosts[i], Json((*status.hosts_entries)[i]));
  return JsonObject({{"folder", Json(folder)},
                     {"all_recognised", Json(status.AllRecognised())},
                     {"files", files + "]"},
                     {"options", JsonObject(options)},
                     {"update_folder_lock", Json(status.locks.update)},
                     {"german_update_folder_lock", Json(status.locks.german_update)},
                     {"ad_configuration_lock", Json(status.locks.ad)},
                     {"root_ad_configuration_lock", Json(status.locks.root_ad)},
                     {"hosts_entries", status.hosts_entries ? JsonObject(hosts) : "null"}}) +
         "\r\n";
}

}  // namespace kelvane
