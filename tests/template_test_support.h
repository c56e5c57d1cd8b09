// Shared by the tests that look at templates, generated files and the steps of a run.
#pragma once

#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/templates.h"
#include "engine/tweak_options.h"
#include "engine/tweak_run.h"
#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_machine.h"
#include "tests/fakes/fake_platform.h"
#include "tools/demo_icq/demo_icq.h"

namespace kelvane::testing {

using Flag = bool TweakOptions::*;

// Options with exactly the given flags on.
inline TweakOptions With(TweakMode mode, std::initializer_list<Flag> on) {
  TweakOptions o;
  o.mode = mode;
  for (const OptionFlag& f : kOptionFlags)
    o.*f.flag = false;
  for (Flag f : on)
    o.*f = true;
  return o;
}
inline TweakOptions Custom(std::initializer_list<Flag> on = {}) {
  return With(TweakMode::Custom, on);
}
inline TweakOptions Standard(std::initializer_list<Flag> on = {}) {
  return With(TweakMode::Standard, on);
}

// The flags each file depends on.
inline const std::map<int, std::vector<Flag>>& OwnFlags() {
  using T = TweakOptions;
  static const std::map<int, std::vector<Flag>> own = {
      {101,
       {&T::remove_contact_list_banner, &T::collapse_contact_list_banner, &T::remove_buttons_bar}},
      {102, {&T::remove_chat_banner, &T::collapse_chat_banner, &T::remove_sms_tab}},
      {103, {&T::enable_minimum_size, &T::remove_chat_banner, &T::collapse_chat_banner}},
      {104, {&T::hide_from_taskbar}},
      {105, {&T::remove_search_bar}},
      {106, {&T::send_with_alt_s}},
      {107, {&T::send_with_alt_s}},
      {108, {&T::send_with_alt_s}},
      {109, {&T::send_with_alt_s}},
      {110, {&T::enable_minimum_size}},
      {111, {&T::enable_minimum_size}},
      {112, {&T::enable_minimum_size}},
  };
  return own;
}

// Every state of a file's own flags, the other flags as in base.
inline std::vector<TweakOptions> OwnStates(int id, const TweakOptions& base) {
  const auto& own = OwnFlags().at(id);
  std::vector<TweakOptions> states;
  for (unsigned bits = 0; bits < (1u << own.size()); ++bits) {
    TweakOptions o = base;
    for (size_t i = 0; i < own.size(); ++i)
      o.*own[i] = bits & (1u << i);
    states.push_back(o);
  }
  return states;
}

inline std::string TemplateText(int id) {
  return TemplateDirResources(KELVANE_TEMPLATE_DIR).Load(kTemplateType, id).value();
}

// The file as a run in this state wrote it, with the line ends the template has after its end:
// in Standard, ICQ's own file as the demo installation lays it down.
inline std::string IcqFile(int id, const TweakOptions& state = Standard()) {
  TemplateDirResources templates(KELVANE_TEMPLATE_DIR);
  return demo::IcqFile(templates, static_cast<uint16_t>(id), state);
}

// An ICQ installation in the fake: the two program files and ICQ's own twelve files.
inline void AddIcq(FakeFileSystem& fs, const std::string& folder, bool german = true) {
  fs.AddFile(folder + "ICQ.exe");
  fs.AddFile(folder + "MCore.dll");
  for (const TargetFile& t : kTargetFiles) {
    if (german || !t.german_only)
      fs.AddFile(folder + std::string(t.path), IcqFile(t.template_id));
  }
}

// The text's lines without their CR LF; the piece after the last one comes last.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

inline const TargetFile& Target(int id) {
  for (const TargetFile& t : kTargetFiles) {
    if (t.template_id == id)
      return t;
  }
  throw std::out_of_range("no target");
}

}  // namespace kelvane::testing
