#include "protect/hosts_block.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_platform.h"

namespace kelvane {
namespace {

std::string Lowered(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

const std::string& Entry(size_t i) {
  static const auto* const entries = [] {
    auto* texts = new std::vector<std::string>;
    for (std::string_view host : AdServerHosts)
      texts->push_back(std::string(kLoopbackPrefix) += host);
    return texts;
  }();
  return (*entries)[i];
}

// The entry lines of every host but the skipped ones, as BlockAdHosts appends them.
std::string EntryLines(std::vector<size_t> skipped = {}) {
  std::string lines;
  for (size_t i = 0; i < AdServerHosts.size(); ++i) {
    if (std::find(skipped.begin(), skipped.end(), i) == skipped.end())
      lines += Entry(i) + "\r\n";
  }
  return lines;
}

bool HoldsAnyEntry(const std::string& text) {
  const std::string lower = Lowered(text);
  for (size_t i = 0; i < AdServerHosts.size(); ++i) {
    if (lower.find(Entry(i)) != std::string::npos)
      return true;
  }
  return false;
}

TEST(AdServerHosts, ThreeDomainsWithTheirSubDomainsFirst) {
  // Index of the bare domain each host belongs to.
  const size_t domain_of[] = {2, 2, 2, 4, 4, 7, 7, 7};
  for (size_t i = 0; i < AdServerHosts.size(); ++i) {
    const std::string_view host = AdServerHosts[i];
    const std::string_view bare = AdServerHosts[domain_of[i]];
    if (i == domain_of[i])
      continue;
    SCOPED_TRACE(host);
    ASSERT_TRUE(host.ends_with("." + std::string(bare)));
    EXPECT_EQ(host.substr(0, host.size() - bare.size() - 1).find('.'), std::string_view::npos)
        << "one label in front of the bare domain";
  }
}

TEST(AdServerHosts, NoEntryStandsInsideAnotherHostsEntryLine) {
  for (size_t i = 0; i < AdServerHosts.size(); ++i) {
    for (size_t j = 0; j < AdServerHosts.size(); ++j) {
      if (i != j) {
        EXPECT_EQ(Lowered(Entry(j)).find(Lowered(Entry(i))), std::string::npos)
            << Entry(i) << " in " << Entry(j);
      }
    }
  }
}

struct TextCase {
  const char* name;
  std::string hosts;
  std::string blocked;
  std::string unblocked;
};

const std::string kLocal = "127.0.0.1 localhost\r\n";

const TextCase kTextCases[] = {
    {"none of the entries", "# comment\r\n" + kLocal, "# comment\r\n" + kLocal + EntryLines(),
     "# comment\r\n" + kLocal},
    {"last line without line end", "127.0.0.1 localhost", kLocal + EntryLines(), kLocal},
    {"commented entry is re-activated and kept as a comment by the unblock",
     kLocal + "#127.0.0.1 atwola.com\r\n", kLocal + "127.0.0.1 atwola.com\r\n" + EntryLines({2}),
     kLocal + "#127.0.0.1 atwola.com\r\n"},
    {"only the first occurrence is re-activated",
     "# 127.0.0.1 adtech.de\r\n#127.0.0.1 adtech.de\r\n",
     " 127.0.0.1 adtech.de\r\n#127.0.0.1 adtech.de\r\n" + EntryLines({4}),
     "# 127.0.0.1 adtech.de\r\n#127.0.0.1 adtech.de\r\n"},
    {"a trailing comment counts as active", "127.0.0.1 cdn.atwola.com # ads\r\n" + kLocal,
     "127.0.0.1 cdn.atwola.com # ads\r\n" + kLocal + EntryLines({1}), kLocal},
    {"a re-activated line keeps its trailing comment", "#127.0.0.1 adtech.de #old\r\n",
     "127.0.0.1 adtech.de #old\r\n" + EntryLines({4}), "#127.0.0.1 adtech.de #old\r\n"},
    {"a longer name is somebody else's host",
     "127.0.0.1 atwola.com.au\r\n127.0.0.1 adtech.de.example\r\n",
     "127.0.0.1 atwola.com.au\r\n127.0.0.1 adtech.de.example\r\n" + EntryLines(),
     "127.0.0.1 atwola.com.au\r\n127.0.0.1 adtech.de.example\r\n"},
    {"capitals are recognised", "127.0.0.1 AR.ATWOLA.COM\r\n" + kLocal,
     "127.0.0.1 AR.ATWOLA.COM\r\n" + kLocal + EntryLines({0}), kLocal},
    {"tab, two blanks or another address are not ours",
     "127.0.0.1\tatwola.com\r\n127.0.0.1  adtech.de\r\n0.0.0.0 advertising.com\r\n",
     "127.0.0.1\tatwola.com\r\n127.0.0.1  adtech.de\r\n0.0.0.0 advertising.com\r\n" + EntryLines(),
     "127.0.0.1\tatwola.com\r\n127.0.0.1  adtech.de\r\n0.0.0.0 advertising.com\r\n"},
    {"blank lines inside stay, entries follow blank lines at the end", "a\r\n\r\nb\r\n\r\n\r\n",
     "a\r\n\r\nb\r\n\r\n\r\n" + EntryLines(), "a\r\n\r\nb\r\n"},
    {"already blocked: blank lines at the end go", EntryLines() + "\r\n\r\n", EntryLines(), "\r\n"},
    {"empty file", "", "\r\n" + EntryLines(), "\r\n"},
    {"bare LF and CR each end a line", "#x\n127.0.0.1 atwola.com\r#127.0.0.1 adtech.de\nz",
     "#x\n127.0.0.1 atwola.com\r127.0.0.1 adtech.de\nz\r\n" + EntryLines({2, 4}),
     "#x\n#127.0.0.1 adtech.de\nz\r\n"},
    {"a bare line end at the end becomes CR LF", "a\n\n", "a\n\n" + EntryLines(), "a\r\n"},
    {"a bare CR at the end gets a CR LF before the entries", "a\r", "a\r\r\n" + EntryLines(),
     "a\r\n"},
    {"a re-activated entry does not run into the name in front of it",
     "127.0.0.1 atwola.com#127.0.0.1 adtech.de\r\n",
     "127.0.0.1 atwola.com 127.0.0.1 adtech.de\r\n" + EntryLines({2, 4}), "\r\n"},
    {"a blank line that comes to follow a bare CR is not merged into it",
     "a\r127.0.0.1 atwola.com\n\nb\r\n", "a\r127.0.0.1 atwola.com\n\nb\r\n" + EntryLines({2}),
     "a\r\r\nb\r\n"},
    {"the user's own names on an entry line stay",
     "127.0.0.1 atwola.com my.alias # mine\r\n127.0.0.1 ADTECH.DE\tadvertising.com other\r\n",
     "127.0.0.1 atwola.com my.alias # mine\r\n127.0.0.1 ADTECH.DE\tadvertising.com other\r\n" +
         EntryLines({2, 4}),
     "127.0.0.1 my.alias # mine\r\n127.0.0.1 other\r\n"},
    {"a mapping of the user's in front of our entry stays",
     "127.0.0.1\tmy.alias 127.0.0.1 atwola.com\r\n",
     "127.0.0.1\tmy.alias 127.0.0.1 atwola.com\r\n" + EntryLines({2}), "127.0.0.1\tmy.alias \r\n"},
    {"a near miss right in front does not hide the entry", "#adt 127.0.0.1 adtech.de\r\n",
     "adt 127.0.0.1 adtech.de\r\n" + EntryLines({4}), "#adt 127.0.0.1 adtech.de\r\n"},
    {"bytes outside ASCII pass", "\xe4\xf6\xfc\x80\xff #\xc4\r\n",
     "\xe4\xf6\xfc\x80\xff #\xc4\r\n" + EntryLines(), "\xe4\xf6\xfc\x80\xff #\xc4\r\n"},
};

TEST(HostsText, Examples) {
  for (const TextCase& c : kTextCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BlockAdHostsText(c.hosts), c.blocked);
    EXPECT_EQ(UnblockAdHostsText(c.hosts), c.unblocked);
    EXPECT_EQ(BlockAdHostsText(c.blocked), c.blocked) << "block twice = block once";
    if (!HoldsAnyEntry(c.hosts)) {
      EXPECT_EQ(UnblockAdHostsText(c.blocked), c.unblocked) << "unblock after block";
    }
  }
}

// Properties over generated hosts files.

struct Line {
  std::string text;
  std::string ending;
  bool operator==(const Line&) const = default;
  friend void PrintTo(const Line& line, std::ostream* os) {
    *os << ::testing::PrintToString(line.text + line.ending);
  }
};

// Split independently of the code under test: CR LF, LF and CR each end a line.
std::vector<Line> Split(std::string_view bytes) {
  std::vector<Line> lines;
  size_t at = 0;
  while (at < bytes.size()) {
    const size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
    const size_t size = bytes.compare(end, 2, "\r\n") == 0 ? 2 : (end < bytes.size() ? 1 : 0);
    lines.push_back(
        {std::string(bytes.substr(at, end - at)), std::string(bytes.substr(end, size))});
    at = end + size;
  }
  return lines;
}

// For each host, whether some line holds its entry with no "#" in front.
std::vector<bool> ActiveHosts(std::string_view bytes) {
  std::vector<bool> active(AdServerHosts.size());
  for (const Line& line : Split(bytes)) {
    const std::string lower = Lowered(line.text);
    for (size_t i = 0; i < AdServerHosts.size(); ++i) {
      const size_t at = lower.find(Entry(i));
      if (at != std::string::npos && line.text.find('#') > at)
        active[i] = true;
    }
  }
  return active;
}

// The lines that hold none of our entries, with the line end in front of each in the whole
// text, as they must come out: blank lines at the end gone, the last line ended by CR LF.
struct OtherLine {
  Line line;
  std::string before;
};

// The generator's mark for the user's own names behind an entry; no other line holds it.
constexpr char kOwnNames[] = " own";

bool HoldsOwnNames(const std::string& text) {
  return text.find(kOwnNames) != std::string::npos;
}

std::vector<OtherLine> OtherLines(std::string_view bytes) {
  std::vector<OtherLine> lines;
  std::string before;
  for (Line& line : Split(bytes)) {
    std::string ending = line.ending;
    if (!HoldsAnyEntry(line.text) && !HoldsOwnNames(line.text))
      lines.push_back({std::move(line), before});
    before = std::move(ending);
  }
  while (!lines.empty() && lines.back().line.text.empty())
    lines.pop_back();
  if (!lines.empty())
    lines.back().line.ending = "\r\n";
  return lines;
}

// Every other line byte-identical and in its place. The one allowed change: a blank line that
// comes to follow a bare CR ends in CR LF, since the two bare ends would read as one.
::testing::AssertionResult KeepsOtherLines(std::string_view out, std::string_view in) {
  const std::vector<OtherLine> got = OtherLines(out), want = OtherLines(in);
  if (got.size() != want.size()) {
    return ::testing::AssertionFailure() << got.size() << " other lines, not " << want.size();
  }
  for (size_t i = 0; i < got.size(); ++i) {
    const Line &g = got[i].line, &w = want[i].line;
    const bool unmerged = g.text.empty() && w.text.empty() && w.ending == "\n" &&
                          g.ending == "\r\n" && got[i].before == "\r";
    if (!(g == w || unmerged)) {
      return ::testing::AssertionFailure() << "line " << i << " is " << ::testing::PrintToString(g)
                                           << ", not " << ::testing::PrintToString(w);
    }
  }
  return ::testing::AssertionSuccess();
}

class HostsGenerator {
 public:
  explicit HostsGenerator(uint32_t seed) : random_(seed) {}

  std::string File(bool with_entries) {
    std::string bytes;
    const int lines = Pick(0, 30);
    for (int i = 0; i < lines; ++i) {
      bytes += with_entries && Pick(0, 3) == 0 ? EntryVariant() : OtherLine();
      if (i + 1 < lines || Pick(0, 1))
        bytes += Ending();
    }
    for (int blanks = Pick(0, 3) == 0 ? Pick(1, 3) : 0; blanks > 0; --blanks)
      bytes += Ending();
    return bytes;
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::string Ending() {
    static const char* const kEndings[] = {"\r\n", "\n", "\r"};
    return kEndings[Pick(0, 2)];
  }

  // Text without line ends: letters (among them those the search for our lines keys on),
  // blanks, tabs, "#", dots, and bytes outside ASCII.
  std::string Noise(int max) {
    static const std::string kBytes = "abcdtvWXYZ019 .\t#\x80\xe4\xff";
    std::string text;
    for (int n = Pick(0, max); n > 0; --n)
      text += kBytes[Pick(0, int(kBytes.size()) - 1)];
    return text;
  }

  std::string OtherLine() {
    switch (Pick(0, 3)) {
      case 0:
        return "";
      case 1:
        return "# " + Noise(12);
      case 2:
        return "127.0.0.1 host" + std::to_string(Pick(0, 999)) + ".example" + Noise(4);
      default:
        return Noise(20);
    }
  }

  std::string EntryVariant() {
    std::string entry = Entry(Pick(0, int(AdServerHosts.size()) - 1));
    if (Pick(0, 1)) {
      for (char& c : entry)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    switch (Pick(0, 4)) {
      case 0:
        return "#" + entry;
      case 4:
        return entry + kOwnNames + Noise(3);
      case 1:
        return entry + " # " + Noise(6);
      case 2:
        return Noise(4) + "#" + Noise(4) + entry + Noise(3);
      default:
        return entry;
    }
  }

  std::mt19937 random_;
};

TEST(HostsText, PropertiesOverGeneratedFiles) {
  HostsGenerator generate(20100101);
  for (int n = 0; n < 2000; ++n) {
    const std::string hosts = generate.File(/*with_entries=*/n % 4 != 0);
    SCOPED_TRACE(::testing::PrintToString(hosts));
    const std::string blocked = BlockAdHostsText(hosts);
    const std::string unblocked = UnblockAdHostsText(hosts);
    ASSERT_TRUE(KeepsOtherLines(blocked, hosts)) << "block";
    ASSERT_TRUE(KeepsOtherLines(unblocked, hosts)) << "unblock";
    ASSERT_EQ(BlockAdHostsText(blocked), blocked);
    ASSERT_EQ(UnblockAdHostsText(unblocked), unblocked);
    for (const std::string& out : {blocked, unblocked}) {
      ASSERT_TRUE(out.ends_with("\r\n") && !out.ends_with("\n\r\n") && !out.ends_with("\r\r\n"));
    }
    ASSERT_EQ(ActiveHosts(blocked), std::vector<bool>(AdServerHosts.size(), true));
    ASSERT_EQ(ActiveHosts(unblocked), std::vector<bool>(AdServerHosts.size(), false));
    const auto own_lines = [](std::string_view bytes) {
      const std::vector<Line> lines = Split(bytes);
      return std::count_if(lines.begin(), lines.end(),
                           [](const Line& l) { return HoldsOwnNames(l.text); });
    };
    ASSERT_EQ(own_lines(unblocked), own_lines(hosts)) << "the user's own names stay";
    const std::vector<Line> lines = Split(hosts);
    if (std::none_of(lines.begin(), lines.end(),
                     [](const Line& l) { return HoldsAnyEntry(l.text); })) {
      std::string original = hosts;
      while (!original.empty() && (original.back() == '\r' || original.back() == '\n')) {
        original.pop_back();
      }
      ASSERT_EQ(UnblockAdHostsText(blocked), original + "\r\n");
    }
  }
}

// The file layer, on the fake file system.

class HostsFileTest : public ::testing::Test {
 protected:
  FakeFileSystem::Node& Hosts(std::string bytes) { return fs_.AddFile(path_, std::move(bytes)); }
  std::string Content(const std::string& path) {
    auto* node = fs_.Find(path);
    return node ? node->content : "<missing>";
  }
  Failure Run(void (*operation)(RunContext&)) {
    RunStatus status;
    TweakOptions options;
    RunContext run{fs_, resources_, system_, options, status};
    operation(run);
    return status.failure;
  }

  FakeFileSystem fs_;
  TemplateDirResources resources_{""};
  FakeSystemInfo system_;
  const std::string path_ = "C:\\windows\\system32\\drivers\\etc\\hosts";
  const std::string backup_ = path_ + kHostsBackupSuffix;
};

TEST_F(HostsFileTest, MissingFileIsDeniedByTheBlockAndLeftAloneByTheUnblock) {
  fs_.AddFolder("C:\\windows\\system32\\drivers\\etc");
  EXPECT_EQ(Run(&BlockAdHosts), Failure::HostsAccessDenied);
  EXPECT_EQ(Run(&UnblockAdHosts), Failure::None);
  EXPECT_FALSE(fs_.Find(path_));
  EXPECT_FALSE(fs_.Find(backup_));
}

TEST_F(HostsFileTest, ReadOnlyFileIsChangedAndStaysWritable) {
  Hosts(kLocal).read_only = true;
  EXPECT_EQ(Run(&BlockAdHosts), Failure::None);
  EXPECT_EQ(Content(path_), kLocal + EntryLines());
  EXPECT_FALSE(fs_.Find(path_)->read_only);
}

TEST_F(HostsFileTest, EmptyFileIsAValidHostsFile) {
  Hosts("");
  EXPECT_EQ(Run(&BlockAdHosts), Failure::None);
  EXPECT_EQ(Content(path_), "\r\n" + EntryLines());
  EXPECT_EQ(Content(backup_), "");
}

struct FaultCase {
  const char* name;
  void (*spoil)(FakeFileSystem&, FakeFileSystem::Node& hosts);
  Failure unblock;  // what UnblockAdHosts reports; the block always reports HostsAccessDenied
};

const FaultCase kFaults[] = {
    {"unreadable", [](FakeFileSystem&, FakeFileSystem::Node& h) { h.unreadable = true; },
     Failure::DataAccessFailed},
    {"held by a program that shares no writing",
     [](FakeFileSystem&, FakeFileSystem::Node& h) { h.undeletable = h.unwritable = true; },
     Failure::HostsAccessDenied},
    {"disk full", [](FakeFileSystem& fs, FakeFileSystem::Node&) { fs.fail_writes = true; },
     Failure::HostsAccessDenied},
    {"no backup can be kept",
     [](FakeFileSystem& fs, FakeFileSystem::Node&) {
       fs.AddFolder("C:\\windows\\system32\\drivers\\etc\\hosts.kelvane-backup");
     },
     Failure::HostsAccessDenied},
};

TEST_F(HostsFileTest, FileThatCannotBeChangedKeepsItsBytes) {
  const std::string hosts = kLocal + "127.0.0.1 atwola.com\r\n";
  for (const FaultCase& c : kFaults) {
    SCOPED_TRACE(c.name);
    fs_ = FakeFileSystem();
    c.spoil(fs_, Hosts(hosts));
    EXPECT_EQ(Run(&BlockAdHosts), Failure::HostsAccessDenied);
    EXPECT_EQ(Run(&UnblockAdHosts), c.unblock);
    EXPECT_EQ(fs_.Find(path_)->content, hosts);
  }
}

// A file that holds the entries as wanted but cannot be tidied at its end reports no failure.
TEST_F(HostsFileTest, OnlyTheEndLeftUntidyIsNoFailure) {
  const struct {
    void (*operation)(RunContext&);
    std::string hosts;
  } rows[] = {{&UnblockAdHosts, kLocal + "\r\n"}, {&BlockAdHosts, kLocal + EntryLines() + "\n\n"}};
  for (const auto& r : rows) {
    fs_ = FakeFileSystem();
    FakeFileSystem::Node& hosts = Hosts(r.hosts);
    hosts.undeletable = hosts.unwritable = true;  // held by a program that shares no writing
    EXPECT_EQ(Run(r.operation), Failure::None) << r.hosts;
    EXPECT_EQ(Content(path_), r.hosts);
  }
}

// The file's own marks, and a program holding it open while it is written.
TEST_F(HostsFileTest, ByteOrderMarksAndHolders) {
  const std::string mark = "\xEF\xBB\xBF", wide("\xFF\xFE#\0 \0", 6);
  const struct {
    const char* name;
    std::string hosts;
    void (*operation)(RunContext&);
    Failure failure;
    std::string after;
  } rows[] = {
      {"UTF-8 mark stays when the first line goes", mark + Entry(2) + "\r\n" + kLocal,
       &UnblockAdHosts, Failure::None, mark + kLocal},
      {"UTF-8 mark stays in front of a re-activated first line", mark + "#" + Entry(2) + "\r\n",
       &BlockAdHosts, Failure::None, mark + Entry(2) + "\r\n" + EntryLines({2})},
      {"UTF-16 is left alone by the block", wide, &BlockAdHosts, Failure::HostsAccessDenied, wide},
      {"UTF-16 is left alone by the unblock", wide, &UnblockAdHosts, Failure::None, wide},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    fs_ = FakeFileSystem();
    Hosts(r.hosts);
    EXPECT_EQ(Run(r.operation), r.failure);
    EXPECT_EQ(Content(path_), r.after);
  }
  fs_ = FakeFileSystem();
  Hosts(kLocal).undeletable = true;  // held by a program that shares writing
  EXPECT_EQ(Run(&BlockAdHosts), Failure::None);
  EXPECT_EQ(Content(path_), kLocal + EntryLines());
}

TEST_F(HostsFileTest, FirstChangeKeepsOneCopyThatIsNeverOverwritten) {
  Hosts(EntryLines());
  EXPECT_EQ(Run(&BlockAdHosts), Failure::None);
  EXPECT_FALSE(fs_.Find(backup_)) << "nothing changed, nothing kept";
  Hosts(kLocal);
  EXPECT_EQ(Run(&BlockAdHosts), Failure::None);
  EXPECT_EQ(Run(&UnblockAdHosts), Failure::None);
  EXPECT_EQ(Run(&BlockAdHosts), Failure::None);
  EXPECT_EQ(Content(backup_), kLocal);
  EXPECT_EQ(Content(path_), kLocal + EntryLines());
}

}  // namespace
}  // namespace kelvane
