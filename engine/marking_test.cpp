#include "engine/marking.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_platform.h"
#include "tests/template_test_support.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;

const GeneratorTable& Table(int id) {
  return Target(id).generator->table();
}

std::vector<TweakOptions> States(int id) {
  std::vector<TweakOptions> states = OwnStates(id, Custom());
  states.push_back(Standard());
  return states;
}

// Every blank line twice: blank lines of the user's beside the markers' lines, which Standard
// writes blank.
std::string BlankLinesTwice(const std::string& file) {
  std::string twice;
  for (const std::string& line : Lines(file))
    twice +=
        (line.find_first_not_of(" \t") == std::string::npos ? line + "\r\n" : "") + line + "\r\n";
  return twice;
}

TEST(MarkFile, WhatARunWroteFillsAsTheTemplateDoes) {
  for (const auto& [id, own] : OwnFlags()) {
    const std::string text = TemplateText(id);
    for (const TweakOptions& written : States(id)) {
      const std::optional<MarkedFile> marked = MarkFile(Table(id), IcqFile(id, written));
      ASSERT_TRUE(marked) << id;
      for (const TweakOptions& wanted : States(id)) {
        ASSERT_TRUE(FillTemplate(Table(id), marked->text, wanted) ==
                    FillTemplate(Table(id), text, wanted))
            << id;
      }
      // And what a run then writes into such a file reads back as well.
      const std::optional<MarkedFile> spaced =
          MarkFile(Table(id), BlankLinesTwice(IcqFile(id, written)));
      ASSERT_TRUE(spaced) << id;
      for (const TweakOptions& wanted : States(id))
        EXPECT_TRUE(MarkFile(Table(id), FillTemplate(Table(id), spaced->text, wanted))) << id;
    }
  }
}

// A blank line of the user's between a spot's line and the line it follows or precedes is no
// place for the spot: every state writes the lines it writes without it, blank lines aside. A
// line of the user's among the lines a run moved leaves the file unrecognised (they are not put
// in a second time), and so does one between a spot's line and the line it must follow.
TEST(MarkFile, ALineOfTheUsersBesideASpot) {
  const auto non_blank = [](const std::string& text) {
    std::vector<std::string> lines;
    for (const std::string& line : Lines(text)) {
      if (line.find_first_not_of(" \t") != std::string::npos)
        lines.push_back(line);
    }
    return lines;
  };
  const TweakOptions collapsed =
      Custom({&TweakOptions::remove_chat_banner, &TweakOptions::collapse_chat_banner});
  const struct {
    int id;
    TweakOptions written;
    std::vector<std::string> after;  // the line put in follows the line holding the last of these
    std::string line = "\r\n";
  } rows[] = {
      {101, Standard(), {R"(id="idMainPanels")"}},
      {101, Custom({&TweakOptions::remove_buttons_bar}), {"infoFeedAlert", "</box:vbox>"}},
      {102, Standard(), {R"(id="idBottomBannerContainer")"}},
      {102, collapsed, {"bottom panel", "FeaturesContainer"}, "<!-- moved up -->\r\n"},
      {102, Standard(), {R"(id="idBottomBannerContainer")"}, "<!-- mine -->\r\n"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.id);
    const std::string file = IcqFile(r.id, r.written);
    size_t at = 0;
    for (const std::string& text : r.after)
      at = file.find(text, at);
    std::string edited = file;
    edited.insert(file.find('\n', at) + 1, r.line);
    const std::optional<MarkedFile> marked = MarkFile(Table(r.id), file),
                                    marked_edited = MarkFile(Table(r.id), edited);
    ASSERT_TRUE(marked);
    if (r.line != "\r\n") {
      EXPECT_FALSE(marked_edited);
      continue;
    }
    ASSERT_TRUE(marked_edited);
    for (const TweakOptions& state : States(r.id)) {
      EXPECT_EQ(non_blank(FillTemplate(Table(r.id), marked_edited->text, state)),
                non_blank(FillTemplate(Table(r.id), marked->text, state)));
    }
  }
}

std::string Trimmed(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t");
  return first == std::string::npos ? ""
                                    : line.substr(first, line.find_last_not_of(" \t") + 1 - first);
}

// ICQ's real file differs from our rendering everywhere but where its spots and the lines
// around them stand: other comments and indentation, lines added and left out, and no lines
// for the markers whose Standard value is "". Kelvane must find the spots all the same, and a
// run must change nothing else.
TEST(MarkFile, FindsTheSpotsInAnyRenderingAndChangesNothingElse) {
  for (const auto& [id, own] : OwnFlags()) {
    SCOPED_TRACE(id);
    std::vector<std::vector<std::string>> renderings;
    for (const TweakOptions& state : States(id))
      renderings.push_back(Lines(IcqFile(id, state)));
    const std::vector<std::string>& standard = renderings.back();
    // Only comments are left out or changed below, but for those known to be ICQ's own: the
    // lines the fillers stand for, and the one comment that tells where the chat panel's
    // features area may move to.
    std::vector<std::string_view> quoted(Table(id).fillers);
    quoted.push_back("<!-- bottom panel ( ad, features ) -->");
    std::vector<bool> spot(standard.size()), kept(standard.size()), near(standard.size());
    for (size_t i = 0; i < standard.size(); ++i) {
      for (const auto& lines : renderings)
        spot[i] = spot[i] || lines[i] != standard[i];
      kept[i] = spot[i];
      for (std::string_view text : quoted)
        kept[i] = kept[i] || (!text.empty() && standard[i].find(text) != std::string::npos);
    }
    for (size_t i = 0; i < standard.size(); ++i)
      near[i] = kept[i] || (i > 0 && kept[i - 1]) || (i + 1 < kept.size() && kept[i + 1]);
    // Which rendering line each line of ICQ's file stands for; -1 for a line of its own.
    std::vector<std::pair<int, std::string>> icq;
    for (size_t i = 0; i < standard.size(); ++i) {
      const std::string text = Trimmed(standard[i]);
      const bool comment = !kept[i] && text.starts_with("<!--") && text.ends_with("-->");
      if (text.empty() || (comment && i % 2))
        continue;  // blank lines, the markers' among them, and every other comment
      icq.emplace_back(i, comment ? "<!-- another note -->" : text);
      if (!near[i] && i % 5 == 0 && text.ends_with(">") && text != Table(id).anchor)
        icq.emplace_back(-1, "<!-- a line of ICQ's own, ending as the file does: -->" +
                                 std::string(Table(id).anchor));
    }
    // Every other file with bare LF line ends, as an editor may have saved it.
    const std::string end = id % 2 ? "\n" : "\r\n";
    std::string file;
    for (const auto& [from, text] : icq)
      file += (from == -1 || !kept[from] ? "  " : "\t") + text + end;

    const std::optional<MarkedFile> marked = MarkFile(Table(id), file);
    ASSERT_TRUE(marked);
    EXPECT_EQ(marked->values.size(), MarkFile(Table(id), IcqFile(id))->values.size())
        << "the values of the markers whose lines were put in are told too";
    for (size_t s = 0; s < renderings.size(); ++s) {
      std::string filled = FillTemplate(Table(id), marked->text, States(id)[s]);
      // Compared line for line in CR LF, where a CR that a run put into an LF file stays apart.
      for (size_t at = 0; end == "\n" && (at = filled.find('\n', at)) != std::string::npos; at += 2)
        filled.insert(at, 1, '\r');
      const std::vector<std::string> out = Lines(filled);
      // Line for line: ICQ's own lines as they were, each spot line as the run writes it, and
      // the markers' lines that ICQ's file had not where the rendering has them.
      std::vector<std::string> expected;
      int before = -1;
      for (const auto& [from, text] : icq) {
        for (int i = before + 1; from != -1 && i < from; ++i) {
          if (spot[i] && Trimmed(standard[i]).empty())
            expected.push_back(Trimmed(renderings[s][i]));
        }
        expected.push_back(from != -1 && spot[from] ? Trimmed(renderings[s][from]) : text);
        before = from == -1 ? before : from;
      }
      for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_LT(i, out.size());
        ASSERT_EQ(Trimmed(out[i]), expected[i]) << "line " << i + 1 << " in state " << s;
      }
    }
  }
}

}  // namespace
}  // namespace kelvane
