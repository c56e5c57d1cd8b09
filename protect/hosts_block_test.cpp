#include "protect/hosts_block.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/fakes/fake_file_system.h"
#include "tests/fakes/fake_platform.h"

namespace kelvane {
namespace {

std::string Entry(size_t i) {
  return std::string(kLoopbackPrefix) + std::string(AdServerHosts[i]);
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

bool HoldsAnyEntry(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (size_t i = 0; i < AdServerHosts.size(); ++i) {
    if (text.find(Entry(i)) != std::string::npos)
      return true;
  }
  return false;
}

const std::string kLocal = "127.0.0.1 localhost\r\n";

TEST(HostsText, Examples) {
  const struct {
    const char* name;
    std::string hosts;
    std::string blocked;
    std::string unblocked;
  } rows[] = {
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
       "127.0.0.1\tatwola.com\r\n127.0.0.1  adtech.de\r\n0.0.0.0 advertising.com\r\n" +
           EntryLines(),
       "127.0.0.1\tatwola.com\r\n127.0.0.1  adtech.de\r\n0.0.0.0 advertising.com\r\n"},
      {"blank lines inside stay, entries follow blank lines at the end", "a\r\n\r\nb\r\n\r\n\r\n",
       "a\r\n\r\nb\r\n\r\n\r\n" + EntryLines(), "a\r\n\r\nb\r\n"},
      {"already blocked: blank lines at the end go", EntryLines() + "\r\n\r\n", EntryLines(),
       "\r\n"},
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
      {"an indented entry with a name of the user's behind it",
       "  127.0.0.1 atwola.com my.alias\r\n",
       "  127.0.0.1 atwola.com my.alias\r\n" + EntryLines({2}), "  127.0.0.1 my.alias\r\n"},
      {"a mapping of the user's in front of our entry stays",
       "127.0.0.1\tmy.alias 127.0.0.1 atwola.com\r\n",
       "127.0.0.1\tmy.alias 127.0.0.1 atwola.com\r\n" + EntryLines({2}),
       "127.0.0.1\tmy.alias \r\n"},
      {"only an address in front of our entry", "0.0.0.0 127.0.0.1 atwola.com\r\n",
       "0.0.0.0 127.0.0.1 atwola.com\r\n" + EntryLines({2}), "\r\n"},
      {"a near miss right in front does not hide the entry", "#adt 127.0.0.1 adtech.de\r\n",
       "adt 127.0.0.1 adtech.de\r\n" + EntryLines({4}), "#adt 127.0.0.1 adtech.de\r\n"},
      {"bytes outside ASCII pass", "\xe4\xf6\xfc\x80\xff #\xc4\r\n",
       "\xe4\xf6\xfc\x80\xff #\xc4\r\n" + EntryLines(), "\xe4\xf6\xfc\x80\xff #\xc4\r\n"},
  };
  const std::array<bool, AdServerHosts.size()> all = {true, true, true, true,
                                                      true, true, true, true};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(BlockAdHostsText(r.hosts), r.blocked);
    EXPECT_EQ(UnblockAdHostsText(r.hosts), r.unblocked);
    EXPECT_EQ(BlockAdHostsText(r.blocked), r.blocked) << "block twice = block once";
    EXPECT_EQ(UnblockAdHostsText(r.unblocked), r.unblocked) << "unblock twice = unblock once";
    EXPECT_EQ(ActiveAdHostEntries(r.blocked), all);
    EXPECT_EQ(ActiveAdHostEntries(r.unblocked), decltype(all){});
    if (!HoldsAnyEntry(r.hosts)) {
      EXPECT_EQ(UnblockAdHostsText(r.blocked), r.unblocked) << "unblock after block";
    }
  }
}

// The file layer, on the fake file system.

const std::string kPath = "C:\\windows\\system32\\drivers\\etc\\hosts";
const std::string kBackup = kPath + kHostsBackupSuffix;

using Operation = void (*)(RunContext&);

struct HostsFile {
  FakeFileSystem fs;
  TemplateDirResources resources{""};
  FakeSystemInfo system;

  Failure Run(Operation operation) {
    RunStatus status;
    TweakOptions options;
    RunContext run{fs, resources, system, options, status};
    operation(run);
    return status.failure;
  }
  std::string Content(const std::string& path) {
    auto* node = fs.Find(path);
    return node ? node->content : "<missing>";
  }
};

using Node = FakeFileSystem::Node;

TEST(HostsFile, WhatEachRunLeavesAndReports) {
  const std::string mark = "\xEF\xBB\xBF", wide("\xFF\xFE#\0 \0", 6);
  const std::string entry = kLocal + "127.0.0.1 atwola.com\r\n";
  const struct {
    const char* name;
    std::string hosts;
    void (*spoil)(FakeFileSystem&, Node& hosts);
    Operation operation;
    Failure failure;
    std::string after;
  } rows[] = {
      {"missing, block", "", [](FakeFileSystem& fs, Node&) { fs.DeleteFileAt(kPath); },
       &BlockAdHosts, Failure::HostsAccessDenied, "<missing>"},
      {"missing, unblock", "", [](FakeFileSystem& fs, Node&) { fs.DeleteFileAt(kPath); },
       &UnblockAdHosts, Failure::None, "<missing>"},
      {"read-only", kLocal, [](FakeFileSystem&, Node& h) { h.read_only = true; }, &BlockAdHosts,
       Failure::None, kLocal + EntryLines()},
      {"held by a program that shares writing", kLocal,
       [](FakeFileSystem&, Node& h) { h.undeletable = true; }, &BlockAdHosts, Failure::None,
       kLocal + EntryLines()},
      {"unreadable, block", entry, [](FakeFileSystem&, Node& h) { h.unreadable = true; },
       &BlockAdHosts, Failure::HostsAccessDenied, entry},
      {"unreadable, unblock", entry, [](FakeFileSystem&, Node& h) { h.unreadable = true; },
       &UnblockAdHosts, Failure::DataAccessFailed, entry},
      {"held, sharing no writing, block", kLocal,
       [](FakeFileSystem&, Node& h) { h.undeletable = h.unwritable = true; }, &BlockAdHosts,
       Failure::HostsAccessDenied, kLocal},
      {"held, sharing no writing, unblock", entry,
       [](FakeFileSystem&, Node& h) { h.undeletable = h.unwritable = true; }, &UnblockAdHosts,
       Failure::HostsAccessDenied, entry},
      {"disk full, block", kLocal, [](FakeFileSystem& fs, Node&) { fs.fail_writes = true; },
       &BlockAdHosts, Failure::HostsAccessDenied, kLocal},
      {"disk full, unblock", entry, [](FakeFileSystem& fs, Node&) { fs.fail_writes = true; },
       &UnblockAdHosts, Failure::HostsAccessDenied, entry},
      {"no copy can be kept, block", kLocal,
       [](FakeFileSystem& fs, Node&) { fs.AddFolder(kBackup); }, &BlockAdHosts,
       Failure::HostsAccessDenied, kLocal},
      {"no copy can be kept, unblock", entry,
       [](FakeFileSystem& fs, Node&) { fs.AddFolder(kBackup); }, &UnblockAdHosts,
       Failure::HostsAccessDenied, entry},
      // Entries as wanted, only the end left untidy: no failure.
      {"held, only the end untidy, unblock", kLocal + "\r\n",
       [](FakeFileSystem&, Node& h) { h.undeletable = h.unwritable = true; }, &UnblockAdHosts,
       Failure::None, kLocal + "\r\n"},
      {"held, only the end untidy, block", kLocal + EntryLines() + "\n\n",
       [](FakeFileSystem&, Node& h) { h.undeletable = h.unwritable = true; }, &BlockAdHosts,
       Failure::None, kLocal + EntryLines() + "\n\n"},
      {"UTF-8 mark stays when the first line goes", mark + Entry(2) + "\r\n" + kLocal,
       [](FakeFileSystem&, Node&) {}, &UnblockAdHosts, Failure::None, mark + kLocal},
      {"UTF-8 mark stays in front of a re-activated first line", mark + "#" + Entry(2) + "\r\n",
       [](FakeFileSystem&, Node&) {}, &BlockAdHosts, Failure::None,
       mark + Entry(2) + "\r\n" + EntryLines({2})},
      {"UTF-16, block", wide, [](FakeFileSystem&, Node&) {}, &BlockAdHosts,
       Failure::HostsAccessDenied, wide},
      {"UTF-16, unblock", wide, [](FakeFileSystem&, Node&) {}, &UnblockAdHosts, Failure::None,
       wide},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    HostsFile h;
    r.spoil(h.fs, h.fs.AddFile(kPath, r.hosts));
    EXPECT_EQ(h.Run(r.operation), r.failure);
    EXPECT_EQ(h.Content(kPath), r.after);
    if (r.after != "<missing>")
      EXPECT_FALSE(h.fs.Find(kPath)->read_only);
  }
}

TEST(HostsFile, FirstChangeKeepsOneCopyThatIsNeverOverwritten) {
  HostsFile h;
  h.fs.AddFile(kPath, EntryLines());
  EXPECT_EQ(h.Run(&BlockAdHosts), Failure::None);
  EXPECT_EQ(h.Content(kBackup), "<missing>") << "nothing changed, nothing kept";
  h.fs.AddFile(kPath, "");
  EXPECT_EQ(h.Run(&BlockAdHosts), Failure::None);
  EXPECT_EQ(h.Run(&UnblockAdHosts), Failure::None);
  h.fs.AddFile(kPath, kLocal);
  EXPECT_EQ(h.Run(&BlockAdHosts), Failure::None);
  EXPECT_EQ(h.Content(kBackup), "") << "the first file kept, an empty one too";
  EXPECT_EQ(h.Content(kPath), kLocal + EntryLines());
}

}  // namespace
}  // namespace kelvane
