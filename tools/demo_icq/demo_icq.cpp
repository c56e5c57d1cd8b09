#include "tools/demo_icq/demo_icq.h"

#include <cstring>

#include "engine/templates.h"
#include "engine/tweak_run.h"
#include "install/icq_folder.h"

namespace kelvane::demo {
namespace {

constexpr uint32_t kFixedInfoSignature = 0xFEEF04BD;

void Put32(std::string& bytes, size_t at, uint32_t value) {
  std::memcpy(&bytes[at], &value, 4);
}

struct DemoFile {
  const char* path;
  const char* content;
};

// ICQ's own update and ad configuration files, which the reset protection acts on.
constexpr DemoFile kUpdateFiles[] = {
    {"updates\\manifest", "<manifest product=\"ICQ\" version=\"7.1.0.2096\"/>\r\n"},
    {"updates\\imApp-7.1.0.2097.xml", "<update package=\"imApp\" build=\"2097\"/>\r\n"},
    {"packages\\ICQ\\ConfigFiles\\adconfig.xml",
     "<adConfig banner=\"true\" messageField=\"true\"/>\r\n"},
    {"packages\\ICQ\\ConfigFiles\\AdRules.xml", "<adRules refresh=\"600\"/>\r\n"},
    {"packages\\ICQ\\ConfigFiles\\settings.xml", "<settings/>\r\n"},
    {"packages\\ICQ\\ConfigFiles\\updates\\adconfig.xml", "<adConfig banner=\"true\"/>\r\n"},
};
constexpr DemoFile kConfigFiles[] = {
    {"ConfigFiles\\adconfig.xml", "<adConfig banner=\"true\" messageField=\"true\"/>\r\n"},
    {"ConfigFiles\\features.xml", "<features/>\r\n"},
    {"ConfigFiles\\updates\\adconfig.xml", "<adConfig banner=\"true\"/>\r\n"},
};
constexpr DemoFile kGermanFiles[] = {
    {"packages\\german\\package.xml", "<package name=\"german\" language=\"de-DE\"/>\r\n"},
    {"packages\\german\\updates\\manifest", "<manifest package=\"german\"/>\r\n"},
};

bool Write(FileSystem& fs, const std::string& path, const std::string& bytes) {
  MakeParentFolders(fs, path);
  return fs.WriteFile(path, bytes);
}

template <size_t N>
bool WriteAll(FileSystem& fs, const std::string& folder, const DemoFile (&files)[N]) {
  bool ok = true;
  for (const DemoFile& f : files)
    ok &= Write(fs, folder + f.path, f.content);
  return ok;
}

bool WriteStub(FileSystem& fs,
               const std::string& from,
               const std::string& to,
               const Version& version) {
  auto pe = fs.ReadFile(from);
  return pe && SetFileVersion(*pe, version) && Write(fs, to, *pe);
}

}  // namespace

std::optional<Version> ParseVersion(const std::string& text) {
  Version version{};
  size_t part = 0, at = 0;
  for (; part < 4; ++part) {
    size_t end = text.find('.', at);
    if ((end == std::string::npos) != (part == 3))
      return std::nullopt;
    const std::string number = text.substr(at, end == std::string::npos ? end : end - at);
    if (number.empty() || number.size() > 5 ||
        number.find_first_not_of("0123456789") != std::string::npos) {
      return std::nullopt;
    }
    const unsigned long value = std::stoul(number);
    if (value > 65535)
      return std::nullopt;
    version[part] = static_cast<uint16_t>(value);
    at = end + 1;
  }
  return version;
}

bool SetFileVersion(std::string& pe,
                    const Version& version,
                    const std::optional<Version>& product) {
  const std::string signature(reinterpret_cast<const char*>(&kFixedInfoSignature), 4);
  const size_t at = pe.find(signature);
  if (at == std::string::npos || at + 24 > pe.size())
    return false;
  const auto put = [&](size_t offset, const Version& v) {
    Put32(pe, at + offset, (uint32_t{v[0]} << 16) | v[1]);
    Put32(pe, at + offset + 4, (uint32_t{v[2]} << 16) | v[3]);
  };
  put(8, version);
  put(16, product.value_or(version));
  return true;
}

std::string IcqFile(Resources& templates, uint16_t template_id, const TweakOptions& state) {
  const std::string text = templates.Load(kTemplateType, template_id).value_or("");
  for (const TargetFile& t : kTargetFiles) {
    if (t.template_id != template_id)
      continue;
    const GeneratorTable& table = t.generator->table();
    std::string original = FillTemplate(table, text, state);
    // Give back the line ends that the end normalisation turned into spaces.
    const size_t tail = text.size() - text.rfind(table.anchor) - table.anchor.size();
    return original.substr(0, original.size() - tail) + text.substr(text.size() - tail);
  }
  return {};
}

bool MakeDemoIcq(FileSystem& fs,
                 Resources& templates,
                 const std::string& folder,
                 const std::string& stub_folder,
                 const DemoIcqOptions& options) {
  bool ok = WriteStub(fs, stub_folder + "icq-stub.exe", folder + kIcqProgram, options.icq_version);
  ok &= WriteStub(fs, stub_folder + "mcore-stub.dll", folder + kIcqCore, options.mcore_version);
  TweakOptions standard;
  standard.mode = TweakMode::Standard;
  for (const TargetFile& t : kTargetFiles) {
    if (t.german_only && !options.german)
      continue;
    ok &= Write(fs, folder + std::string(t.path), IcqFile(templates, t.template_id, standard));
  }
  ok &= WriteAll(fs, folder, kUpdateFiles);
  if (options.config_files)
    ok &= WriteAll(fs, folder, kConfigFiles);
  if (options.german)
    ok &= WriteAll(fs, folder, kGermanFiles);
  return ok;
}

}  // namespace kelvane::demo
