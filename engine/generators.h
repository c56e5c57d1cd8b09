// The generator mechanism shared by the twelve ICQ file generators, and the generators.
// Each generator is a table of markers and values; one mechanism fills any table's template.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <variant>
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

// Where an option marker stands in ICQ's own file, told only by what that file is known to
// hold. A fragment such as `id="sMainDlg"` or `minWidth="` is matched where it begins a word.

// Inside one element's start tag.
struct InTag {
  std::string_view marker;
  std::string_view scope;    // a fragment of the element (a style) the tag lies in; "" for none
  std::string_view element;  // a fragment of the tag itself: an id, a name, a command, a tag name
  std::string_view after;    // what the spot follows inside the tag; "" for the element fragment
  std::string_view until;    // what follows the spot; "" for the tag's end or its line's end
};

// In the value of an entity, whole or between "(Alt+" and ")".
struct InEntity {
  std::string_view marker;
  std::string_view name;
  bool alt_key;
};

// Markers alone on their lines, one after the other, found beside lines holding fragments:
// directly after the lines of `after` (each the line after the one before), directly before
// the line of `before`, or somewhere between the two. Markers whose Standard value is "" may
// have no lines at all in ICQ's own file; theirs are then put in right after `after`.
struct OnLines {
  std::vector<std::string_view> markers;
  std::vector<std::string_view> after;
  std::string_view before;
};

using Spot = std::variant<InTag, InEntity, OnLines>;

struct GeneratorTable {
  std::vector<CustomValue> custom;        // tried in order, Custom mode only
  std::vector<StandardValue> standard;    // then every marker left gets its Standard value
  std::vector<std::string_view> fillers;  // texts of "###Senseless1###" upwards, every mode
  std::string_view anchor;                // the file's last element or line
  std::vector<Spot> spots;                // where the option markers stand in ICQ's own file
};

// "###Banner1###" for "Banner1".
std::string MarkerText(std::string_view name);
// The name of the table's filler at index: "Senseless1" upwards.
std::string FillerName(size_t index);

// The value the marker gets from the options: its first Custom value whose condition holds, in
// Custom mode, else its Standard value.
std::string_view ValueFor(const GeneratorTable& table,
                          std::string_view marker,
                          const TweakOptions& options);

// The values a marker may hold: its Custom values and its Standard value.
std::vector<std::string_view> KnownValues(const GeneratorTable& table, std::string_view marker);

// The template text with every marker replaced and what follows the end anchor turned into
// as many spaces. Pure; the length of the result is what the generator writes.
std::string FillTemplate(const GeneratorTable& table,
                         std::string text,
                         const TweakOptions& options);

// One mark for each option flag, in the order of kOptionFlags.
using OptionFlagSet = std::array<bool, kOptionFlags.size()>;

// The Custom state with just those of the chosen flags on that the bits pick, in order.
TweakOptions CustomState(unsigned bits, const OptionFlagSet& chosen);

// The flags that change any of the table's values in some state: few enough that each state of
// them can be tried.
const OptionFlagSet& FlagsShown(const GeneratorTable& table);

// Whether the bytes are the template filled in some state: a file Kelvane wrote from it.
bool IsFilledTemplate(const GeneratorTable& table, const std::string& text, std::string_view bytes);

class Generator {
 public:
  explicit Generator(const GeneratorTable& table) : table_(table) {}
  const GeneratorTable& table() const { return table_; }

  // Fills the template from the options and writes the file at path once, whole. Raises
  // WriteFailed when it cannot be written; it then keeps what it held.
  void operator()(const std::string& path, const std::string& template_text, RunContext& run) const;

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
