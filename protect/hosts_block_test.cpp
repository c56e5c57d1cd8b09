#include "protect/hosts_block.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/template_test_support.h"

namespace kelvane {
namespace {

using namespace kelvane::testing;

std::string Entry(size_t i) {
  return std::string(kLoopbackPrefix) + std::string(AdServerHosts[i]);
}

// A line for every host but those the text already holds, in their order: the entry lines the
// block appends, or without the address in front, the names its record keeps.
std::string EntryLines(const std::vector<size_t>& held = {},
                       std::string_view address = kLoopbackPrefix) {
  std::string lines;
  for (size_t i = 0; i < AdServerHosts.size(); ++i) {
    if (std::find(held.begin(), held.end(), i) == held.end())
      lines += std::string(address).append(AdServerHosts[i]) + "\r\n";
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
    std::string unblocked;
  } rows[] = {
      {"commented entries stay comments, whatever else their lines hold",
       "# 127.0.0.1 adtech.de\r\n#127.0.0.1 atwola.com mail.corp #old\r\n"
       "# 10.0.0.5 fs # 127.0.0.1 advertising.com\r\n",
       kAsIs, Held{},
       "# 127.0.0.1 adtech.de\r\n#127.0.0.1 atwola.com mail.corp #old\r\n"
       "# 10.0.0.5 fs # 127.0.0.1 advertising.com\r\n"},
      {"a longer name is somebody else's host",
       "127.0.0.1 atwola.com.au\r\n127.0.0.1 adtech.de.example\r\n", kAsIs, Held{},
       "127.0.0.1 atwola.com.au\r\n127.0.0.1 adtech.de.example\r\n"},
      {"tab, two blanks or another address are not ours",
       "127.0.0.1\tatwola.com\r\n127.0.0.1  adtech.de\r\n0.0.0.0 advertising.com\r\n", kAsIs,
       Held{}, "127.0.0.1\tatwola.com\r\n127.0.0.1  adtech.de\r\n0.0.0.0 advertising.com\r\n"},
      {"already blocked: blank lines at the end go", EntryLines() + "\r\n\r\n", EntryLines(),
       Held{0, 1, 2, 3, 4, 5, 6, 7}, "\r\n"},
      {"empty file", "", "\r\n", Held{}, "\r\n"},
      {"bare LF and CR each end a line", "#x\n127.0.0.1 atwola.com\r#127.0.0.1 adtech.de\nz",
       "#x\n127.0.0.1 atwola.com\r#127.0.0.1 adtech.de\nz\r\n", Held{2},
       "#x\n#127.0.0.1 adtech.de\nz\r\n"},
      {"a bare line end at the end becomes CR LF", "a\n\n", kAsIs, Held{}, "a\r\n"},
      {"a bare CR at the end gets a CR LF before the entries", "a\r", "a\r\r\n", Held{}, "a\r\n"},
      {"an entry with a commented one right behind it",
       "127.0.0.1 adtech.de#127.0.0.1 atwola.com\r\n", kAsIs, Held{4}, "\r\n"},
      {"a blank line that comes to follow a bare CR is not merged into it",
       "a\r127.0.0.1 atwola.com\n\nb\r\n", kAsIs, Held{2}, "a\r\r\nb\r\n"},
      {"the user's own names on an entry line stay",
       "127.0.0.1 atwola.com my.alias # mine\r\n127.0.0.1 ADTECH.DE\tadvertising.com other\r\n",
       kAsIs, Held{2, 4}, "127.0.0.1 my.alias # mine\r\n127.0.0.1 other\r\n"},
      {"an indented entry with a name of the user's behind it",
       "  127.0.0.1 atwola.com my.alias\r\n", kAsIs, Held{2}, "  127.0.0.1 my.alias\r\n"},
      {"a mapping of the user's in front of our entry stays",
       "127.0.0.1\tmy.alias 127.0.0.1 atwola.com\r\n", kAsIs, Held{2}, "127.0.0.1\tmy.alias \r\n"},
      {"only an address in front of our entry, indented", "  0.0.0.0 127.0.0.1 atwola.com\r\n",
       kAsIs, Held{2}, "\r\n"},
      {"a near miss just in front does not hide the entry, which ends the file",
       "adt\n127.0.0.1 adtech.de", "adt\n127.0.0.1 adtech.de\r\n", Held{4}, "adt\r\n"},
      {"two names a few bytes apart, the later one's domain searched first",
       "      127.0.0.1 adtech.de\r\natwola.com\r\n", kAsIs, Held{4}, "atwola.com\r\n"},
      {"bytes outside ASCII pass", "\xe4\xf6\xfc\x80\xff #\xc4\r\n", kAsIs, Held{},
       "\xe4\xf6\xfc\x80\xff #\xc4\r\n"},
  };
  AdHostMarks all;
  all.fill(true);
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    const std::string blocked = r.blocked.value_or(r.hosts) + EntryLines(r.held);
    EXPECT_EQ(BlockAdHostsText(r.hosts), blocked);
    EXPECT_EQ(UnblockAdHostsText(r.hosts), r.unblocked);
    EXPECT_EQ(BlockAdHostsText(blocked), blocked) << "block twice = block once";
    EXPECT_EQ(UnblockAdHostsText(r.unblocked), r.unblocked) << "unblock twice = unblock once";
    EXPECT_EQ(ActiveAdHostEntries(blocked), all);
    EXPECT_EQ(ActiveAdHostEntries(r.unblocked), decltype(all){});
    // Where the text held none of the entries, the unblock takes out just what the block put in.
    if (r.held.empty()) {
      EXPECT_EQ(UnblockAdHostsText(blocked), r.unblocked) << "unblock after block";
    }
  }
  EXPECT_EQ(ActiveAdHostEntries("\xFF\xFE" + Entry(2)), std::nullopt)
      << "UTF-16 is no text of ours";
}

// The file layer, on the fake file system.

const std::string kPath = "C:\\windows\\system32\\drivers\\etc\\hosts";
const std::string kBackup = kPath + kHostsBackupSuffix;
const std::string kRecord = kPath + kHostsRecordSuffix;

std::string RecordOf(const Held& held = {}) {
  return EntryLines(held, "");
}

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
  const Spoil record_unreadable = [](FakeFileSystem& fs, Node&) {
    if (Node* record = fs.Find(kRecord))  // the block finds none and writes one
      record->unreadable = true;
  };
  const std::string mark = "\xEF\xBB\xBF", wide("\xFF\xFE#\0 \0", 6);
  const std::string entry = kLocal + "127.0.0.1 atwola.com\r\n";
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
    // The record the unblock finds: the block appended every entry unless this says otherwise.
    std::optional<std::string> record = RecordOf();
  } rows[] = {
      {"missing", "", missing, Outcome{denied}, Outcome{none}},
      {"read-only, held by a program that shares writing", entry, read_only_shares_writing,
       Outcome{none, entry + EntryLines({2})}, Outcome{none, kLocal}},
      {"unreadable", entry, unreadable, Outcome{denied}, Outcome{Failure::DataAccessFailed}},
      {"held, sharing no writing", entry, held, Outcome{denied}, Outcome{denied}},
      {"disk full", entry, disk_full, Outcome{denied}, Outcome{denied}},
      {"no copy can be kept; no record, nothing appended", entry, no_copy, Outcome{denied},
       Outcome{none}, std::nullopt},
      {"the user's own entry, which the block did not append, stays", entry + Entry(4) + "\r\n",
       as_it_is, Outcome{none, entry + Entry(4) + "\r\n" + EntryLines({2, 4})},
       Outcome{none, kLocal + Entry(4) + "\r\n"}, RecordOf({4})},
      {"the record cannot be read", entry, record_unreadable,
       Outcome{none, entry + EntryLines({2})}, Outcome{Failure::DataAccessFailed}},
      // Entries as wanted, only the end left untidy: no failure.
      {"held, no entry, the end untidy", kLocal + "\r\n", held, Outcome{denied}, Outcome{none}},
      {"held, every entry, the end untidy", kLocal + EntryLines() + "\n\n", held, Outcome{none},
       Outcome{denied}},
      {"UTF-8 mark in front of an entry", mark + Entry(2) + "\r\n" + kLocal, as_it_is,
       Outcome{none, mark + Entry(2) + "\r\n" + kLocal + EntryLines({2})},
       Outcome{none, mark + kLocal}},
      {"UTF-8 mark in front of a commented entry", mark + "#" + Entry(2) + "\r\n", as_it_is,
       Outcome{none, mark + "#" + Entry(2) + "\r\n" + EntryLines()}, Outcome{none}},
      {"UTF-16", wide, as_it_is, Outcome{denied}, Outcome{denied}},
      {"a bare LF where a piece of the file begins", "127.0.0.1 atwola.com \n#x\n", as_it_is,
       Outcome{none, "127.0.0.1 atwola.com \n#x\n" + EntryLines({2})}, Outcome{none, "#x\r\n"}},
      {"shorter than a UTF-8 mark", "#\n", as_it_is, Outcome{none, "#\n" + EntryLines()},
       Outcome{none, "#\r\n"}},
  };
  for (const auto& r : rows) {
    for (const auto& [operation, outcome] :
         {std::pair(&BlockAdHosts, r.block), std::pair(&UnblockAdHosts, r.unblock)}) {
      SCOPED_TRACE(std::string(r.name) + (operation == &BlockAdHosts ? ", block" : ", unblock"));
      FakeMachine h;
      if (operation == &UnblockAdHosts && r.record)
        h.fs.AddFile(kRecord, *r.record);
      r.spoil(h.fs, h.fs.AddFile(kPath, r.hosts));
      const std::string before = h.Content(kPath);
      EXPECT_EQ(h.Run(operation).failure, outcome.failure);
      EXPECT_EQ(h.Content(kPath), outcome.after.value_or(before));
      if (before != "<missing>") {
        EXPECT_FALSE(h.fs.Find(kPath)->read_only);
      }
    }
  }
}

// Standard takes out just the lines a block appended, whatever the user adds or changes in
// between; the first file Kelvane changed is kept once.
TEST(HostsFile, StandardTakesOutJustTheLinesABlockAppended) {
  FakeMachine h;
  const auto run = [&h](void (*operation)(RunContext&)) {
    EXPECT_EQ(h.Run(operation).failure, Failure::None);
    return h.Content(kPath);
  };
  h.fs.AddFile(kPath, EntryLines());
  run(&BlockAdHosts);
  EXPECT_EQ(run(&UnblockAdHosts), EntryLines()) << "nothing appended, nothing taken out";
  EXPECT_EQ(h.Content(kBackup), "<missing>") << "nothing changed, nothing kept";
  h.fs.AddFile(kPath, "");
  // A list the user adds while the block is in place maps one of our hosts once more.
  h.fs.AddFile(kPath, run(&BlockAdHosts) + Entry(2) + "\r\n");
  EXPECT_EQ(run(&UnblockAdHosts), "\r\n" + Entry(2) + "\r\n");
  EXPECT_EQ(run(&UnblockAdHosts), "\r\n" + Entry(2) + "\r\n") << "the next Standard";
  // The user's own entry, which the block left alone, then changed to block elsewhere.
  h.fs.AddFile(kPath, kLocal + Entry(4) + "\r\n");
  const std::string blocked = run(&BlockAdHosts);
  h.fs.AddFile(kPath,
               kLocal + "0.0.0.0 adtech.de" + blocked.substr(kLocal.size() + Entry(4).size()));
  run(&BlockAdHosts);
  EXPECT_EQ(run(&UnblockAdHosts), kLocal + "0.0.0.0 adtech.de\r\n");
  EXPECT_EQ(h.Content(kBackup), "") << "the first file changed, an empty one, kept";
}

}  // namespace
}  // namespace kelvane
