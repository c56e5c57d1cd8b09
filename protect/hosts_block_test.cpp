#include "protect/hosts_block.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/template_test_support.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;

// An entry of the user's.
std::string Entry(size_t i) {
  return std::string(kLoopbackPrefix) + std::string(AdServerHosts[i]);
}

// Our entry lines of every host but those the text already holds, as the block appends them.
std::string EntryLines(const std::vector<size_t>& held = {}) {
  std::string lines;
  for (size_t i = 0; i < AdServerHosts.size(); ++i) {
    if (std::find(held.begin(), held.end(), i) == held.end())
      lines += OurEntryLine(i) + "\r\n";
  }
  return lines;
}

const std::string kLocal = "127.0.0.1 localhost\r\n";
const std::optional<std::string> kAsIs;  // the text or file as it was

using Held = std::vector<size_t>;

TEST(HostsText, Examples) {
  const struct {
    const char* name;
    std::string hosts;
    std::optional<std::string> blocked;  // in front of the entries the block appends
    Held held;                           // the entries the blocked text holds already
    std::optional<std::string> unblocked;
  } rows[] = {
      {"commented entries stay comments, whatever else their lines hold",
       "# 127.0.0.1 adtech.de\r\n#127.0.0.1 atwola.com mail.corp #old\r\n"
       "# 10.0.0.5 fs # 127.0.0.1 advertising.com\r\n",
       kAsIs, Held{}, kAsIs},
      {"a longer name, or one a letter apart, is somebody else's host",
       "127.0.0.1 atwola.com.au\r\n127.0.0.1 adtech.de.example\r\n127.0.0.1 btwola.com\r\n", kAsIs,
       Held{}, kAsIs},
      {"tab, two blanks or another address are not ours",
       "127.0.0.1\tatwola.com\r\n127.0.0.1  adtech.de\r\n0.0.0.0 advertising.com\r\n", kAsIs,
       Held{}, kAsIs},
      {"already blocked: blank lines at the end go", EntryLines() + "\r\n\r\n", EntryLines(),
       Held{0, 1, 2, 3, 4, 5, 6, 7}, "\r\n"},
      {"empty file", "", "\r\n", Held{}, "\r\n"},
      {"bare LF and CR each end a line", "#x\n" + OurEntryLine(2) + "\r#127.0.0.1 adtech.de\nz",
       "#x\n" + OurEntryLine(2) + "\r#127.0.0.1 adtech.de\nz\r\n", Held{2},
       "#x\n#127.0.0.1 adtech.de\nz\r\n"},
      {"a bare line end at the end becomes CR LF", "a\n\n", kAsIs, Held{}, "a\r\n"},
      {"a bare CR at the end gets a CR LF before the entries", "a\r", "a\r\r\n", Held{}, "a\r\n"},
      {"an entry with a commented one right behind it",
       "127.0.0.1 adtech.de#127.0.0.1 atwola.com\r\n", kAsIs, Held{4}, kAsIs},
      {"a blank line that comes to follow a bare CR is not merged into it",
       "a\r" + OurEntryLine(2) + "\n\nb\r\n", kAsIs, Held{2}, "a\r\r\nb\r\n"},
      {"our lines go, and only ours: the user's entries, and ours changed, stay",
       kLocal + OurEntryLine(2) + "\r\n" + Entry(2) + "\r\n#" + OurEntryLine(4) + "\r\n" +
           OurEntryLine(5) + " more\r\n  " + OurEntryLine(6) + "\r\n" + OurEntryLine(7) + " \t\r\n",
       kAsIs, Held{2, 5, 6, 7},
       kLocal + Entry(2) + "\r\n#" + OurEntryLine(4) + "\r\n" + OurEntryLine(5) + " more\r\n  " +
           OurEntryLine(6) + "\r\n"},
      {"the user's own names on an entry line",
       "127.0.0.1 atwola.com my.alias # mine\r\n127.0.0.1 ADTECH.DE\tadvertising.com other\r\n",
       kAsIs, Held{2, 4}, kAsIs},
      {"an indented entry with a name of the user's behind it",
       "  127.0.0.1 atwola.com my.alias\r\n", kAsIs, Held{2}, kAsIs},
      {"a mapping of the user's in front of an entry",
       "127.0.0.1\tmy.alias 127.0.0.1 atwola.com\r\n", kAsIs, Held{2}, kAsIs},
      {"only an address in front of an entry, indented", "  0.0.0.0 127.0.0.1 atwola.com\r\n",
       kAsIs, Held{2}, kAsIs},
      {"a near miss just in front does not hide our line, which ends the file",
       "adt\n" + OurEntryLine(4), "adt\n" + OurEntryLine(4) + "\r\n", Held{4}, "adt\r\n"},
      {"two names a few bytes apart, the later one's domain searched first",
       "      127.0.0.1 adtech.de\r\natwola.com\r\n", kAsIs, Held{4}, kAsIs},
      {"bytes outside ASCII pass", "\xe4\xf6\xfc\x80\xff #\xc4\r\n", kAsIs, Held{}, kAsIs},
  };
  AdHostMarks all;
  all.fill(true);
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    const std::string blocked = r.blocked.value_or(r.hosts) + EntryLines(r.held);
    const std::string unblocked = r.unblocked.value_or(r.hosts);
    EXPECT_EQ(BlockAdHostsText(r.hosts), blocked);
    EXPECT_EQ(UnblockAdHostsText(r.hosts), unblocked);
    EXPECT_EQ(BlockAdHostsText(blocked), blocked) << "block twice = block once";
    EXPECT_EQ(UnblockAdHostsText(unblocked), unblocked) << "unblock twice = unblock once";
    EXPECT_EQ(UnblockAdHostsText(blocked), unblocked) << "unblock after block";
    EXPECT_EQ(ActiveAdHostEntries(blocked), all);
  }
  EXPECT_EQ(ActiveAdHostEntries("\xFF\xFE" + Entry(2)), std::nullopt)
      << "UTF-16 is no text of ours";
  const auto behind_mark = ActiveAdHostEntries("\xEF\xBB\xBF" + Entry(2) + "\r\n" + Entry(4));
  EXPECT_TRUE(behind_mark && !(*behind_mark)[2] && (*behind_mark)[4]) << "only the first line";
}

// The file layer, on the fake file system.

const std::string kPath = "C:\\windows\\system32\\drivers\\etc\\hosts";
const std::string kBackup = kPath + kHostsBackupSuffix;

using Node = FakeFileSystem::Node;

TEST(HostsFile, WhatEachRunLeavesAndReports) {
  using Spoil = void (*)(FakeFileSystem&, Node & hosts);
  const Spoil as_it_is = [](FakeFileSystem&, Node&) {};
  const Spoil missing = [](FakeFileSystem& fs, Node&) { fs.DeleteFileAt(kPath); };
  const Spoil read_only_shares_writing = [](FakeFileSystem&, Node& hosts) {
    hosts.read_only = hosts.undeletable = true;
  };
  const Spoil held = [](FakeFileSystem&, Node& hosts) {
    hosts.undeletable = hosts.unwritable = true;
  };
  const Spoil unreadable = [](FakeFileSystem&, Node& hosts) { hosts.unreadable = true; };
  const Spoil disk_full = [](FakeFileSystem& fs, Node&) { fs.fail_writes = true; };
  const Spoil no_copy = [](FakeFileSystem& fs, Node&) { fs.AddFolder(kBackup); };
  const std::string mark = "\xEF\xBB\xBF", wide("\xFF\xFE#\0 \0", 6);
  // Our line from an earlier block, its CR LF split between two of the fake's pieces.
  const std::string entry = kLocal + OurEntryLine(7) + "\r\n";
  const auto denied = Failure::HostsAccessDenied, none = Failure::None;
  struct Outcome {
    Failure failure;
    std::optional<std::string> after = kAsIs;
  };
  const struct {
    const char* name;
    std::string hosts;
    Spoil spoil;
    Outcome block, unblock;
  } rows[] = {
      {"missing", "", missing, Outcome{denied}, Outcome{none}},
      {"read-only, held by a program that shares writing", entry, read_only_shares_writing,
       Outcome{none, entry + EntryLines({7})}, Outcome{none, kLocal}},
      {"unreadable", entry, unreadable, Outcome{denied}, Outcome{Failure::DataAccessFailed}},
      {"held, sharing no writing", entry, held, Outcome{denied}, Outcome{denied}},
      {"disk full", entry, disk_full, Outcome{denied}, Outcome{denied}},
      {"no copy can be kept", entry, no_copy, Outcome{denied}, Outcome{denied}},
      {"an entry of the user's stays", entry + Entry(4) + "\r\n", as_it_is,
       Outcome{none, entry + Entry(4) + "\r\n" + EntryLines({4, 7})},
       Outcome{none, kLocal + Entry(4) + "\r\n"}},
      // Entries as wanted, only the end left untidy: no failure.
      {"held, no entry, the end untidy", kLocal + "\r\n", held, Outcome{denied}, Outcome{none}},
      {"held, every entry, the end untidy", kLocal + EntryLines() + "\n\n", held, Outcome{none},
       Outcome{denied}},
      // Windows may read the mark as part of the first line: an entry there counts as none.
      {"UTF-8 mark in front of our line", mark + OurEntryLine(2) + "\r\n" + Entry(4) + "\r\n",
       as_it_is,
       Outcome{none, mark + OurEntryLine(2) + "\r\n" + Entry(4) + "\r\n" + EntryLines({4})},
       Outcome{none, mark + Entry(4) + "\r\n"}},
      {"UTF-8 mark in front of a commented entry", mark + "#" + Entry(2) + "\r\n", as_it_is,
       Outcome{none, mark + "#" + Entry(2) + "\r\n" + EntryLines()}, Outcome{none}},
      {"UTF-16, read-only", wide, read_only_shares_writing, Outcome{denied}, Outcome{none}},
      {"a bare LF where a piece of the file begins", OurEntryLine(2) + "   \n#x\n", as_it_is,
       Outcome{none, OurEntryLine(2) + "   \n#x\n" + EntryLines({2})}, Outcome{none, "#x\r\n"}},
      {"shorter than a UTF-8 mark", "#\n", as_it_is, Outcome{none, "#\n" + EntryLines()},
       Outcome{none}},
      // The unblock leaves a file without a line of ours as it is, attributes and end too.
      {"read-only, no line of ours, the end untidy", kLocal + "\r\n", read_only_shares_writing,
       Outcome{none, kLocal + "\r\n" + EntryLines()}, Outcome{none}},
  };
  for (const auto& r : rows) {
    for (const auto& [operation, outcome] :
         {std::pair(&BlockAdHosts, r.block), std::pair(&UnblockAdHosts, r.unblock)}) {
      SCOPED_TRACE(std::string(r.name) + (operation == &BlockAdHosts ? ", block" : ", unblock"));
      FakeMachine h;
      r.spoil(h.fs, h.fs.AddFile(kPath, r.hosts));
      const std::string before = h.Content(kPath);
      const bool read_only = before != "<missing>" && h.fs.Find(kPath)->read_only;
      EXPECT_EQ(h.Run(operation).failure, outcome.failure);
      EXPECT_EQ(h.Content(kPath), outcome.after.value_or(before));
      if (before != "<missing>") {
        EXPECT_EQ(h.fs.Find(kPath)->read_only,
                  read_only && operation == &UnblockAdHosts && !outcome.after)
            << "the block makes it writable, the unblock when it changes it, and only then";
      }
    }
  }
}

TEST(HostsFile, FirstChangeKeepsOneCopyThatIsNeverOverwritten) {
  FakeMachine h;
  h.fs.AddFile(kPath, EntryLines());
  EXPECT_EQ(h.Run(&BlockAdHosts).failure, Failure::None);
  EXPECT_EQ(h.Content(kBackup), "<missing>") << "nothing changed, nothing kept";
  h.fs.AddFile(kPath, "");
  EXPECT_EQ(h.Run(&BlockAdHosts).failure, Failure::None);
  EXPECT_EQ(h.Run(&UnblockAdHosts).failure, Failure::None);
  h.fs.AddFile(kPath, kLocal);
  EXPECT_EQ(h.Run(&BlockAdHosts).failure, Failure::None);
  EXPECT_EQ(h.Content(kBackup), "") << "the first file kept, an empty one too";
  EXPECT_EQ(h.Content(kPath), kLocal + EntryLines());
}

}  // namespace
}  // namespace kelvane
