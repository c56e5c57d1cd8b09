#include "engine/generators.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/fakes/fake_platform.h"
#include "tests/template_test_support.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;

std::string Generated(int id, const TweakOptions& options) {
  return FillTemplate(Target(id).generator->table(), TemplateText(id), options);
}

// Whether xmllint reads the text as well-formed: a .box as a document, a .dtd's declarations as
// a document's internal subset.
bool WellFormed(const std::string& text, bool dtd) {
  FILE* lint = popen("xmllint --noout - 2>/dev/null", "w");
  const std::string document = dtd ? "<!DOCTYPE kelvane [\n" + text + "\n]><kelvane/>" : text;
  fwrite(document.data(), 1, document.size(), lint);
  return lint && pclose(lint) == 0;
}

using Sizes = std::vector<size_t>;
using Values = std::vector<std::string>;  // marker, value, marker, value ...

const std::string kTabPanels = R"(<box:aolTabPanels id="idMainPanels" style="imgTabBackground"/>)";

// The templates as shipped, byte for byte by their size, with one anchor; how each generated
// file ends (what follows the anchor becomes as many spaces); and the generated file in Standard
// mode and in every state of the file's own flags (OwnStates' order): its size, which pins the
// bytes outside the markers' lines too, no marker left, well-formed, and the same whatever the
// other flags say. Standard mode applies no flag at all. The shipped templates are the
// mechanism's examples: a marker twice (112), eleven fillers (101), blank lines after the anchor.
TEST(Generated, EveryStateOfTheFilesOwnFlags) {
  const struct {
    int id;
    size_t size;
    const char* template_end;
    const char* generated_end;
    Sizes generated;  // in Standard mode, then in each own state
    // With every own flag on, on their markers' lines: the values that the size cannot tell
    // from a namesake of the same length or from a neighbour's.
    Values values = {};
  } rows[] = {
      {101, 11728, "</library>\r\n\r\n", "</library>    ",
       Sizes{12336, 12336, 12363, 12336, 12395, 12350, 12377, 12350, 12409},
       Values{"Banner2", R"(hidden="true" s:maxHeight="2")", "MainPanel1", "", "MainPanel2",
              kTabPanels}},
      {102, 40600, "</library>\r\n", "</library>  ",
       Sizes{41084, 41084, 41089, 41084, 41115, 41098, 41103, 41098, 41129},
       Values{"4Free1", R"(<box:vbox id="idFeaturesArea" collapsed="true">)", "4Free4", ""}},
      {103, 50124, "</library>\r\n", "</library>  ",
       Sizes{51045, 51045, 51047, 51045, 51047, 51045, 51047, 51047, 51049},
       Values{"Min1", "475", "Min2", "436", "Min6", "450"}},
      {104, 8178, "\r\n</icqMainDialog>", "\r\n</icqMainDialog>", Sizes{8271, 8271, 8307}},
      {105, 5021, "\r\n</library>\r\n", "</library>  ", Sizes{5120, 5120, 5150}},
      {106, 8222, "\r\n  </icqWindow>\r\n", "</icqWindow>  ", Sizes{8347, 8347, 8341}},
      {107, 10553, "\r\n%englishFallbackDTD;\r\n", "%englishFallbackDTD;  ",
       Sizes{10635, 10635, 10635}, Values{"Font1", "T", "Font2", "t"}},
      {108, 9898, "\"Show Zlango icons and messages\">", "\"Show Zlango icons and messages\">",
       Sizes{9993, 9993, 9993}, Values{"Pic", "P"}},
      {109, 5657, "Tools_accessKey \"M\">\r\n", "Tools_accessKey \"M\">  ", Sizes{5781, 5781, 5781},
       Values{"Pic", "P"}},
      {110, 8059, "\r\n  </library>\r\n", "</library>  ", Sizes{8284, 8284, 8284},
       Values{"Min1", "185", "Min2", "530"}},
      {111, 18815, "\r\n</library>\r\n", "</library>  ", Sizes{18994, 18994, 19008},
       Values{"Min1", "50"}},
      {112, 1227, "\r\n</library>\r\n", "</library>  ", Sizes{1421, 1421, 1421},
       Values{"Min", "173"}},
  };
  TweakOptions all_on = Custom();
  for (const OptionFlag& f : kOptionFlags)
    all_on.*f.flag = true;
  TweakOptions standard_all_on = all_on;
  standard_all_on.mode = TweakMode::Standard;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.id);
    const bool dtd = Target(r.id).path.ends_with(".dtd");
    const std::string text = TemplateText(r.id);
    EXPECT_EQ(text.size(), r.size);
    EXPECT_TRUE(text.ends_with(r.template_end));
    const std::string anchor(Target(r.id).generator->table().anchor);
    EXPECT_EQ(text.find(anchor), text.rfind(anchor)) << "one anchor";
    const std::string standard = Generated(r.id, Standard());
    EXPECT_TRUE(standard.ends_with(r.generated_end));
    EXPECT_EQ(standard.size(), r.generated[0]);
    EXPECT_TRUE(Generated(r.id, standard_all_on) == standard) << "Standard mode applied a flag";
    EXPECT_TRUE(WellFormed(standard, dtd));
    const auto quiet = OwnStates(r.id, Custom()), loud = OwnStates(r.id, all_on);
    ASSERT_EQ(quiet.size() + 1, r.generated.size());
    for (size_t i = 0; i < quiet.size(); ++i) {
      SCOPED_TRACE("state " + std::to_string(i));
      const std::string generated = Generated(r.id, quiet[i]);
      EXPECT_EQ(generated.size(), r.generated[i + 1]);
      EXPECT_TRUE(generated == Generated(r.id, loud[i]));
      EXPECT_EQ(generated.find("###"), std::string::npos);
      EXPECT_TRUE(WellFormed(generated, dtd));
    }
    // The end normalisation may join the last lines; markers stand well before it.
    const auto before = Lines(text), after = Lines(Generated(r.id, loud.back()));
    for (size_t i = 0; i < std::min(before.size(), after.size()); ++i) {
      std::string expected = before[i];
      for (size_t v = 0; v < r.values.size(); v += 2) {
        const std::string marker = "###" + r.values[v] + "###";
        for (size_t at; (at = expected.find(marker)) != std::string::npos;)
          expected.replace(at, marker.size(), r.values[v + 1]);
      }
      if (expected != before[i]) {
        EXPECT_EQ(after[i], expected) << "line " << i + 1;
      }
    }
  }
}

}  // namespace
}  // namespace kelvane
