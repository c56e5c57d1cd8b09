// The generator mechanism shared by the twelve ICQ file generators, and the generators.
// Each generator is a table of markers and values; one mechanism fills any table's template.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/run_context.h"

namespace kelvane {

using Condition = bool (*)(const TweakOptions&);

struct CustomValue {
  std::string_view marker;  // name only: "Banner1" stands for "###Banner1###"
  std::string_view value;
  Condition when;
};

struct StandardValue {
  std::string_view marker;
  std::string_view value;
};

struct GeneratorTable {
  std::vector<CustomValue> custom;        // tried in order, Custom mode only
  std::vector<StandardValue> standard;    // then every marker left gets its Standard value
  std::vector<std::string_view> fillers;  // texts of "###Senseless1###" upwards, every mode
  std::string_view anchor;                // the file's last element or line
};

// The template text with every marker replaced and what follows the end anchor turned into
// as many spaces. Pure; the length of the result is what the generator writes.
std::string FillTemplate(const GeneratorTable& table,
                         std::string text,
                         const TweakOptions& options);

class Generator {
 public:
  explicit Generator(const GeneratorTable& table) : table_(table) {}
  const GeneratorTable& table() const { return table_; }

  // Reads the freshly extracted template at path, fills it and writes it back. Raises
  // WriteFailed when the file cannot be written; an unreadable template writes nothing and
  // raises WriteFailed too.
  void operator()(const std::string& path, RunContext& run) const;

 private:
  const GeneratorTable& table_;
};

extern const Generator GenerateMainDlgPanelOwnerBox;
extern const Generator GenerateMsgSessionPanelBox;
extern const Generator GenerateMsgSessionDlgStyleBox;
extern const Generator GenerateMainDlgBox;
extern const Generator GenerateContentPanelCLBox;
extern const Generator GenerateMsgSessionDlgBox;
extern const Generator GenerateGermanMsgSessionPanelDtd;
extern const Generator GenerateMsgSessionPanelDtd;
extern const Generator GenerateMsgSessionDlgDtd;
extern const Generator GenerateMainDlgStyleBox;
extern const Generator GenerateMainDlgPanelOwnerStyleBox;
extern const Generator GenerateLifestreamTabStyleBox;

}  // namespace kelvane
