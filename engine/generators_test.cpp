#include "engine/generators.h"

#include <gtest/gtest.h>

#include <map>
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
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

// Whether xmllint reads the text as well-formed: a .box as a document, a .dtd's declarations as
// a document's internal subset.
bool WellFormed(const std::string& text, bool dtd) {
  FILE* lint = popen("xmllint --noout - 2>/dev/null", "w");
  const std::string document = dtd ? "<!DOCTYPE kelvane [\n" + text + "\n]><kelvane/>" : text;
  fwrite(document.data(), 1, document.size(), lint);
  return lint && pclose(lint) == 0;
}

// The templates as shipped, byte for byte by their size, and how each generated file ends: what
// follows the anchor becomes as many spaces.
TEST(Templates, SizeAnchorAndEnd) {
  const struct {
    int id;
    size_t size;
    const char* template_end;
    const char* generated_end;
  } rows[] = {
      {101, 11728, "</library>\r\n\r\n", "</library>    "},
      {102, 40600, "</library>\r\n", "</library>  "},
      {103, 50124, "</library>\r\n", "</library>  "},
      {104, 8178, "\r\n</icqMainDialog>", "\r\n</icqMainDialog>"},
      {105, 5021, "\r\n</library>\r\n", "</library>  "},
      {106, 8222, "\r\n  </icqWindow>\r\n", "</icqWindow>  "},
      {107, 10553, "\r\n%englishFallbackDTD;\r\n", "%englishFallbackDTD;  "},
      {108, 9898, "\"Show Zlango icons and messages\">", "\"Show Zlango icons and messages\">"},
      {109, 5657, "Tools_accessKey \"M\">\r\n", "Tools_accessKey \"M\">  "},
      {110, 8059, "\r\n  </library>\r\n", "</library>  "},
      {111, 18815, "\r\n</library>\r\n", "</library>  "},
      {112, 1227, "\r\n</library>\r\n", "</library>  "},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.id);
    const std::string text = TemplateText(r.id);
    EXPECT_EQ(text.size(), r.size);
    EXPECT_TRUE(text.ends_with(r.template_end));
    const std::string anchor(Target(r.id).generator->table().anchor);
    EXPECT_EQ(text.find(anchor), text.rfind(anchor)) << "one anchor";
    EXPECT_TRUE(Generated(r.id, Standard()).ends_with(r.generated_end));
  }
}

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

// Every state of a file's own flags: no marker left, well-formed, and the same whatever the
// other flags say; Standard mode applies no flag at all.
TEST(Generated, EveryStateOfTheFilesOwnFlags) {
  TweakOptions all_on = Custom();
  for (const OptionFlag& f : kOptionFlags)
    all_on.*f.flag = true;
  for (const TargetFile& t : kTargetFiles) {
    const int id = t.template_id;
    SCOPED_TRACE(id);
    const std::string standard = Generated(id, Standard());
    EXPECT_TRUE(Generated(id, With(TweakMode::Standard, {})) == standard);
    TweakOptions standard_all_on = all_on;
    standard_all_on.mode = TweakMode::Standard;
    EXPECT_TRUE(Generated(id, standard_all_on) == standard) << "Standard mode applied a flag";
    const auto quiet = OwnStates(id, Custom()), loud = OwnStates(id, all_on);
    for (size_t i = 0; i < quiet.size(); ++i) {
      const std::string text = Generated(id, quiet[i]);
      EXPECT_TRUE(text == Generated(id, loud[i])) << "state " << i;
      EXPECT_EQ(text.find("###"), std::string::npos) << "state " << i;
      EXPECT_GT(text.size(), TemplateText(id).size());
      EXPECT_TRUE(WellFormed(text, t.path.ends_with(".dtd"))) << "state " << i;
    }
    EXPECT_TRUE(WellFormed(standard, t.path.ends_with(".dtd")));
  }
}

// The mechanism on small texts, where the order of the steps shows.
TEST(FillTemplate, MechanismRules) {
  const GeneratorTable table = {
      .custom = {{"A", "custom-a", [](const TweakOptions& o) { return o.remove_sms_tab; }},
                 {"A", "second", [](const TweakOptions&) { return true; }}},
      .standard = {{"A", "std-a"}, {"B", ""}},
      .fillers = {"one", "two", "three", "four", "five", "six", "seven", "eight", "nine", "ten"},
      .anchor = "</end>",
      .spots = {},
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
