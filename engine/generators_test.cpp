#include "engine/generators.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <vector>

#include "tests/fakes/fake_platform.h"
#include "tests/template_test_support.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;
using T = TweakOptions;

std::string Generated(int id, const TweakOptions& options) {
  return FillTemplate(Target(id).generator->table(), TemplateText(id), options);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
    ++n;
  return n;
}

// --- the templates as shipped ------------------------------------------------------------

struct TemplateFacts {
  int id;
  size_t size;
  size_t crlf_count;
  const char* ends_with;
};

const TemplateFacts kTemplates[] = {
    {101, 11728, 230, "</library>\r\n\r\n"},
    {102, 40600, 592, "</library>\r\n"},
    {103, 50124, 876, "</library>\r\n"},
    {104, 8178, 119, "\r\n</icqMainDialog>"},
    {105, 5021, 109, "\r\n</library>\r\n"},
    {106, 8222, 137, "\r\n  </icqWindow>\r\n"},
    {107, 10553, 175, "\r\n%englishFallbackDTD;\r\n"},
    {108, 9898, 171,
     "\r\n<!ENTITY MsgSessionPanel.OpenZlangoTooltip \"Show Zlango icons and messages\">"},
    {109, 5657, 108, "\r\n<!ENTITY MessageMenu.Tools_accessKey \"M\">\r\n"},
    {110, 8059, 167, "\r\n  </library>\r\n"},
    {111, 18815, 302, "\r\n</library>\r\n"},
    {112, 1227, 22, "\r\n</library>\r\n"},
};

TEST(Templates, SizeLineEndsAndAnchor) {
  for (const TemplateFacts& f : kTemplates) {
    SCOPED_TRACE(f.id);
    const std::string text = TemplateText(f.id);
    EXPECT_EQ(text.size(), f.size);
    EXPECT_EQ(Count(text, "\r\n"), f.crlf_count);
    EXPECT_EQ(Count(text, "\r"), f.crlf_count) << "bare CR";
    EXPECT_EQ(Count(text, "\n"), f.crlf_count) << "bare LF";
    EXPECT_TRUE(text.ends_with(f.ends_with));
    EXPECT_EQ(Count(text, std::string(Target(f.id).generator->table().anchor)), 1u);
    size_t high = 0;
    for (unsigned char c : text)
      high += c > 127;
    EXPECT_EQ(high, f.id == 107 ? 64u : 0u);
  }
}

TEST(Templates, EveryMarkerOfTheTableIsInItsTemplate) {
  const std::map<std::pair<int, std::string>, size_t> repeated = {{{102, "BottomBox"}, 2},
                                                                  {{102, "Senseless1"}, 8},
                                                                  {{103, "Senseless1"}, 16},
                                                                  {{112, "Min"}, 2}};
  for (const TargetFile& t : kTargetFiles) {
    SCOPED_TRACE(t.template_id);
    const std::string text = TemplateText(t.template_id);
    const GeneratorTable& table = t.generator->table();
    std::map<std::string, size_t> markers;
    for (const StandardValue& v : table.standard)
      markers[std::string(v.marker)];
    for (size_t i = 1; i <= table.fillers.size(); ++i)
      markers["Senseless" + std::to_string(i)];
    size_t hashes = 0;
    for (auto& [name, count] : markers) {
      auto r = repeated.find({t.template_id, name});
      count = r == repeated.end() ? 1 : r->second;
      EXPECT_EQ(Count(text, "###" + name + "###"), count) << name;
      hashes += 2 * count;
    }
    EXPECT_EQ(Count(text, "###"), hashes) << "a marker the table does not know";
  }
}

// The lines the contact-list and chat panel markers stand on (counted from 1).
TEST(Templates, PanelMarkersStandOnTheirLines) {
  const std::vector<std::tuple<int, std::string, std::vector<size_t>>> rows = {
      {101, "Senseless1", {3}},       {101, "Senseless2", {48}},
      {101, "Senseless3", {99}},      {101, "Senseless4", {116}},
      {101, "ButtonsBar", {127}},     {101, "MainPanel1", {145}},
      {101, "Senseless5", {146}},     {101, "MainPanel2", {148}},
      {101, "Banner1", {156}},        {101, "Banner2", {171}},
      {101, "Senseless6", {183}},     {101, "Senseless7", {190}},
      {101, "Senseless8", {206}},     {101, "Senseless9", {208}},
      {101, "Senseless10", {210}},    {101, "Senseless11", {216}},
      {102, "SMSButton", {465}},      {102, "4Free1", {553}},
      {102, "4Free2", {554}},         {102, "4Free3", {555}},
      {102, "BottomBox", {556, 562}}, {102, "4Free4", {558}},
      {102, "4Free5", {559}},         {102, "4Free6", {560}},
      {102, "AdBox", {563}},          {102, "Senseless1", {31, 39, 85, 91, 120, 122, 127, 144}},
  };
  for (const auto& [id, marker, numbers] : rows) {
    const auto lines = Lines(TemplateText(id));
    for (size_t n : numbers) {
      EXPECT_NE(lines.at(n - 1).find("###" + marker + "###"), std::string::npos)
          << id << " line " << n << " lacks " << marker;
    }
  }
}

// --- generated files -----------------------------------------------------------------

struct SizeRow {
  int id;
  TweakOptions options;
  size_t size;
};

const SizeRow kSizes[] = {
    {101, Standard(), 12336},
    {101, Custom(), 12336},
    {101,
     Custom({&T::remove_contact_list_banner, &T::collapse_contact_list_banner,
             &T::remove_buttons_bar}),
     12409},
    {102, Standard(), 41084},
    {102, Custom(), 41084},
    {102, Custom({&T::remove_chat_banner, &T::collapse_chat_banner, &T::remove_sms_tab}), 41129},
    {103, Standard(), 51045},
    {103, Custom(), 51045},
    {103, Custom({&T::enable_minimum_size}), 51047},
    {103, Custom({&T::remove_chat_banner, &T::collapse_chat_banner}), 51047},
    {103, Custom({&T::enable_minimum_size, &T::remove_chat_banner, &T::collapse_chat_banner}),
     51049},
    {104, Standard(), 8271},
    {104, Custom({&T::hide_from_taskbar}), 8307},
    {105, Standard(), 5120},
    {105, Custom({&T::remove_search_bar}), 5150},
    {106, Standard(), 8347},
    {106, Custom({&T::send_with_alt_s}), 8341},
    {107, Standard(), 10635},
    {107, Custom({&T::send_with_alt_s}), 10635},
    {108, Standard(), 9993},
    {108, Custom({&T::send_with_alt_s}), 9993},
    {109, Standard(), 5781},
    {109, Custom({&T::send_with_alt_s}), 5781},
    {110, Standard(), 8284},
    {110, Custom({&T::enable_minimum_size}), 8284},
    {111, Standard(), 18994},
    {111, Custom({&T::enable_minimum_size}), 19008},
    {112, Standard(), 1421},
    {112, Custom({&T::enable_minimum_size}), 1421},
};

TEST(Generated, Sizes) {
  for (const SizeRow& row : kSizes) {
    EXPECT_EQ(Generated(row.id, row.options).size(), row.size) << row.id;
  }
}

// Where each value lands: the template line holding the markers, with the markers replaced.
struct ValueRow {
  int id;
  TweakOptions options;
  std::map<std::string, std::string> values;
};

const std::string kTabPanels = R"(<box:aolTabPanels id="idMainPanels" style="imgTabBackground"/>)";

const ValueRow kValues[] = {
    {101,
     Standard({&T::remove_contact_list_banner, &T::remove_buttons_bar}),
     {{"Banner1", ""},
      {"Banner2", ""},
      {"MainPanel1", kTabPanels},
      {"MainPanel2", ""},
      {"ButtonsBar", ""}}},
    {101, Custom({&T::collapse_contact_list_banner}), {{"Banner1", ""}, {"Banner2", ""}}},
    {101,
     Custom({&T::remove_contact_list_banner}),
     {{"Banner1", R"( hidden="true")"}, {"Banner2", R"(hidden="true")"}}},
    {101,
     Custom({&T::remove_contact_list_banner, &T::collapse_contact_list_banner}),
     {{"Banner1", R"( hidden="true" s:maxHeight="1")"},
      {"Banner2", R"(hidden="true" s:maxHeight="6")"},
      {"MainPanel1", kTabPanels}}},
    {101,
     Custom({&T::remove_contact_list_banner, &T::collapse_contact_list_banner,
             &T::remove_buttons_bar}),
     {{"Banner2", R"(hidden="true" s:maxHeight="2")"},
      {"MainPanel1", ""},
      {"MainPanel2", kTabPanels},
      {"ButtonsBar", R"( hidden="true")"}}},
    {102,
     Custom({&T::remove_chat_banner}),
     {{"AdBox", R"(<!--box:icqAd id="idAdBox"/-->)"},
      {"BottomBox", ""},
      {"4Free1", ""},
      {"4Free4", R"(<box:vbox id="idFeaturesArea" collapsed="true">)"}}},
    {102, Custom({&T::collapse_chat_banner}), {{"AdBox", R"(<box:icqAd id="idAdBox"/>)"}}},
    {102,
     Custom({&T::remove_chat_banner, &T::collapse_chat_banner, &T::remove_sms_tab}),
     {{"BottomBox", R"( s:height="0")"},
      {"4Free1", R"(<box:vbox id="idFeaturesArea" collapsed="true">)"},
      {"4Free2", R"(<box:FeaturesContainer id="idFeaturesContainer"/>)"},
      {"4Free3", "</box:vbox>"},
      {"4Free6", ""},
      {"SMSButton", R"( hidden="true")"}}},
    {103,
     Custom({&T::enable_minimum_size}),
     {{"Min1", "475"},
      {"Min2", "436"},
      {"Min3", "fixed"},
      {"Min4", "100%"},
      {"Min5", "right"},
      {"Min6", "450"}}},
    {103,
     Custom({&T::remove_chat_banner, &T::collapse_chat_banner}),
     {{"Min1", "525"},
      {"Min2", "467"},
      {"Min3", "relative"},
      {"Min4", "500"},
      {"Min5", "end"},
      {"Min6", "468"}}},
    {103,
     Custom({&T::enable_minimum_size, &T::remove_chat_banner, &T::collapse_chat_banner}),
     {{"Min3", "relative"}, {"Min4", "450"}}},
    {103,
     Custom({&T::enable_minimum_size, &T::remove_chat_banner}),
     {{"Min3", "fixed"}, {"Min4", "100%"}}},
    {104,
     Custom({&T::hide_from_taskbar}),
     {{"NoTaskBar", R"( floating="true" minimizable="false")"}}},
    {105, Custom({&T::remove_search_bar}), {{"SearchBar", R"( hidden="true" s:maxHeight="1")"}}},
    {106, Standard({&T::send_with_alt_s}), {{"UseAltS", R"(RETURN" ctrl)"}}},
    {106, Custom({&T::send_with_alt_s}), {{"UseAltS", R"(S" alt)"}}},
    {107, Custom({&T::send_with_alt_s}), {{"Font1", "T"}, {"Font2", "t"}}},
    {107, Custom(), {{"Font1", "S"}, {"Font2", "s"}}},
    {108, Custom({&T::send_with_alt_s}), {{"Pic", "P"}}},
    {109, Custom({&T::send_with_alt_s}), {{"Pic", "P"}}},
    {109, Standard({&T::send_with_alt_s}), {{"Pic", "S"}}},
    {110, Custom({&T::enable_minimum_size}), {{"Min1", "185"}, {"Min2", "530"}}},
    {110, Custom(), {{"Min1", "221"}, {"Min2", "560"}}},
    {111, Custom({&T::enable_minimum_size}), {{"Min1", "50"}, {"Min2", R"( minWidth="50")"}}},
    {111, Custom(), {{"Min1", "90"}, {"Min2", ""}}},
    {112, Custom({&T::enable_minimum_size}), {{"Min", "173"}}},
    {112, Standard({&T::enable_minimum_size}), {{"Min", "209"}}},
};

TEST(Generated, ValuesLandOnTheirMarkersLines) {
  for (const ValueRow& row : kValues) {
    const auto before = Lines(TemplateText(row.id));
    const auto after = Lines(Generated(row.id, row.options));
    // The end normalisation may join the last lines; markers stand well before it.
    for (size_t i = 0; i < std::min(before.size(), after.size()); ++i) {
      std::string expected = before[i];
      bool listed = false;
      for (const auto& [marker, value] : row.values) {
        const std::string text = "###" + marker + "###";
        for (size_t at; (at = expected.find(text)) != std::string::npos; listed = true) {
          expected.replace(at, text.size(), value);
        }
      }
      if (listed) {
        EXPECT_EQ(after[i], expected) << row.id << " line " << i + 1;
      }
    }
  }
}

TEST(Generated, EachFileDependsOnlyOnItsOwnFlagsAndStandardOnNone) {
  for (const auto& [id, own] : OwnFlags()) {
    const std::string standard = Generated(id, Standard());
    EXPECT_EQ(Generated(id, With(TweakMode::Standard, {})), standard);
    TweakOptions all_on = Standard();
    for (const OptionFlag& f : kOptionFlags)
      all_on.*f.flag = true;
    EXPECT_EQ(Generated(id, all_on), standard) << id << ": Standard mode applied a flag";
    const auto quiet = OwnStates(id, Custom());
    TweakOptions loud = Custom();
    for (const OptionFlag& f : kOptionFlags)
      loud.*f.flag = true;
    const auto noisy = OwnStates(id, loud);
    for (size_t i = 0; i < quiet.size(); ++i) {
      EXPECT_EQ(Generated(id, quiet[i]), Generated(id, noisy[i])) << id << " state " << i;
    }
  }
}

TEST(Generated, NoMarkerLeftAndLongerThanTemplateInEveryState) {
  for (const auto& [id, own] : OwnFlags()) {
    const size_t template_size = TemplateText(id).size();
    auto states = OwnStates(id, Custom());
    states.push_back(Standard());
    for (const TweakOptions& o : states) {
      const std::string text = Generated(id, o);
      EXPECT_EQ(text.find("###"), std::string::npos) << id;
      EXPECT_GT(text.size(), template_size) << id;
    }
  }
}

TEST(Generated, EndBecomesSpacesAfterTheAnchor) {
  const std::vector<std::pair<int, std::string>> rows = {
      {101, "</library>    "},
      {102, "</library>  "},
      {104, "\r\n</icqMainDialog>"},
      {106, "</icqWindow>  "},
      {107, "%englishFallbackDTD;  "},
      {108, "\r\n<!ENTITY MsgSessionPanel.OpenZlangoTooltip \"Show Zlango icons and messages\">"},
      {109, "<!ENTITY MessageMenu.Tools_accessKey \"M\">  "},
      {112, "</library>  "}};
  for (const auto& [id, tail] : rows) {
    EXPECT_TRUE(Generated(id, Standard()).ends_with(tail)) << id;
  }
  EXPECT_TRUE(Generated(112, Standard()).starts_with(R"(<?xml version="1.0" encoding="UTF-8"?>)"));
}

TEST(Generated, GermanBytesPassThroughUnchanged) {
  auto high_bytes = [](const std::string& text) {
    std::string high;
    for (char c : text) {
      if (static_cast<unsigned char>(c) > 127)
        high += c;
    }
    return high;
  };
  const std::string german = high_bytes(TemplateText(107));
  ASSERT_EQ(german.size(), 64u);
  EXPECT_EQ(high_bytes(Generated(107, Custom({&T::send_with_alt_s}))), german);
  EXPECT_NE(Generated(107, Standard()).find("\xc3\xa4"), std::string::npos) << "no umlaut";
}

// The mechanism on small texts, where the order of the steps shows.
TEST(FillTemplate, MechanismRules) {
  const GeneratorTable table = {
      .custom = {{"A", "custom-a", [](const TweakOptions& o) { return o.remove_sms_tab; }},
                 {"A", "second", [](const TweakOptions&) { return true; }}},
      .standard = {{"A", "std-a"}, {"B", ""}},
      .fillers = {"one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten"},
      .anchor = "</end>",
  };
  struct Row {
    std::string text;
    TweakOptions options;
    std::string expected;
  };
  const Row rows[] = {
      {"###A###|###A###", Custom({&T::remove_sms_tab}), "custom-a|custom-a"},
      {"###A###", Custom(), "second"},
      {"###A######B###", Standard({&T::remove_sms_tab}), "std-a"},
      {"###Senseless1###,###Senseless10###", Standard(), "one,ten"},
      {"x</end>\r\n\r\n", Standard(), "x</end>    "},
      {"</end>a</end>\r\n", Standard(), "</end>a</end>  "},
      {"no anchor\r\n", Standard(), "no anchor\r\n"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(FillTemplate(table, r.text, r.options), r.expected);
}

}  // namespace
}  // namespace kelvane
