#include "tests/contract/file_system_contract.h"

#include <algorithm>
#include <optional>

namespace kelvane::testing {
namespace {

// Nothing of a write may stay beside the file: neither our copy nor a system leftover.
void ExpectNothingBeside(FileSystem& fs, const std::string& path) {
  const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
  EXPECT_FALSE(fs.FileExists(path + ".kelvane-part"));
  EXPECT_FALSE(fs.DeleteMatching(folder + "*.tmp"));
}

// Longer than any single write or piece a rewrite reads at once, with line ends, NULs and
// the letter x on the way.
std::string LargeText() {
  std::string text;
  for (int i = 0; text.size() < 300000; ++i) {
    text += 'x';
    text += std::to_string(i);
    text += i % 3 ? std::string("\r\n") : std::string(1, '\0');
  }
  return text;
}

// A write puts every new byte in place or keeps every old one; a holder that shares writing
// gets the file rewritten in place, one that does not keeps it as it was.
TEST_P(FileSystemContract, WriteHoldsAllTheNewBytesOrAllTheOldOnes) {
  const std::string old = LargeText();
  const struct {
    const char* file;
    void (*spoil)(FileSystemHarness&, const std::string& path);
    bool written;
  } rows[] = {
      {"plain", [](FileSystemHarness&, const std::string&) {}, true},
      {"held, writing shared",
       [](FileSystemHarness& h, const std::string& path) { h.Hold(path, true); }, true},
      {"held, writing not shared",
       [](FileSystemHarness& h, const std::string& path) { h.Hold(path, false); }, false},
      {"read-only", [](FileSystemHarness& h, const std::string& path) { h.MakeReadOnly(path); },
       false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.file);
    Put(r.file, old);
    r.spoil(*harness_, At(r.file));
    EXPECT_EQ(fs().WriteFile(At(r.file), "new"), r.written);
    EXPECT_TRUE(Content(r.file) == (r.written ? "new" : old));
    ExpectNothingBeside(fs(), At(r.file));
  }
  EXPECT_TRUE(fs().WriteFile(At("created"), "x"));
  EXPECT_EQ(Content("created"), "x");
  EXPECT_FALSE(fs().WriteFile(At("missing\\a.box"), "x")) << "folder does not exist";
  ExpectNothingBeside(fs(), At("missing\\a.box"));
  ASSERT_TRUE(fs().MakeDirectory(At("dir")));
  EXPECT_FALSE(fs().WriteFile(At("dir"), "x"));
  EXPECT_TRUE(fs().FolderExists(At("dir")));
}

// A file goes only when nothing holds it and it is not read-only; a folder is no file.
TEST_P(FileSystemContract, DeleteFileDeletesUnprotectedFilesOnly) {
  Put("held.box", "x");
  harness_->Hold(At("held.box"), true);
  EXPECT_FALSE(fs().DeleteFileAt(At("held.box")));
  Put("ro.box", "old");
  harness_->MakeReadOnly(At("ro.box"));
  EXPECT_FALSE(fs().DeleteFileAt(At("ro.box")));
  EXPECT_EQ(Content("ro.box"), "old");
  EXPECT_TRUE(fs().SetNormalAttributes(At("ro.box")));
  EXPECT_FALSE(fs().Lookup(At("ro.box"))->read_only);
  EXPECT_TRUE(fs().DeleteFileAt(At("RO.box")));
  EXPECT_FALSE(fs().FileExists(At("ro.box")));
  EXPECT_FALSE(fs().SetNormalAttributes(At("ro.box"))) << "missing";
  EXPECT_FALSE(fs().DeleteFileAt(At("ro.box"))) << "missing";
  ASSERT_TRUE(fs().MakeDirectory(At("dir")));
  EXPECT_FALSE(fs().DeleteFileAt(At("dir")));
}

TEST_P(FileSystemContract, DeleteByPatternMatchesFileNamesWithoutRegardToCase) {
  ASSERT_TRUE(fs().MakeDirectory(At("c")));
  ASSERT_TRUE(fs().MakeDirectory(At("c\\adfolder")));
  Put("c\\AdConfig.xml", "1");
  Put("c\\adrules", "2");
  Put("c\\xad.xml", "3");
  Put("c\\plain", "4");
  EXPECT_TRUE(fs().DeleteMatching(At("c\\ad*")));
  EXPECT_FALSE(fs().FileExists(At("c\\AdConfig.xml")));
  EXPECT_FALSE(fs().FileExists(At("c\\adrules")));
  EXPECT_TRUE(fs().FileExists(At("c\\xad.xml")));
  EXPECT_TRUE(fs().FolderExists(At("c\\adfolder")));
  EXPECT_FALSE(fs().DeleteMatching(At("c\\ad*"))) << "nothing left to match";
  EXPECT_TRUE(fs().DeleteMatching(At("c\\*.*")));
  EXPECT_FALSE(fs().FileExists(At("c\\plain"))) << "*.* matches names without a dot";
  EXPECT_TRUE(fs().FolderExists(At("c\\adfolder")));
}

TEST_P(FileSystemContract, MakeDirectoryMakesOneNewFolder) {
  EXPECT_TRUE(fs().MakeDirectory(At("new")));
  EXPECT_FALSE(fs().MakeDirectory(At("new"))) << "already there";
  EXPECT_FALSE(fs().MakeDirectory(At("no\\parent")));
  Put("file", "x");
  EXPECT_FALSE(fs().MakeDirectory(At("file")));
  EXPECT_TRUE(fs().FolderExists(At("new\\")));
  EXPECT_FALSE(fs().FileExists(At("new")));
  EXPECT_TRUE(fs().FileExists(At("file")));
  EXPECT_FALSE(fs().FolderExists(At("file")));
}

TEST_P(FileSystemContract, DeleteFolderRemovesEverythingInIt) {
  ASSERT_TRUE(fs().MakeDirectory(At("u")));
  ASSERT_TRUE(fs().MakeDirectory(At("u\\manifest")));
  Put("u\\manifest\\m1", "x");
  Put("u\\f", "y");
  EXPECT_TRUE(fs().DeleteFolder(At("u")));
  EXPECT_FALSE(fs().FolderExists(At("u")));
  EXPECT_FALSE(fs().DeleteFolder(At("u")));
  // A file it cannot delete keeps the folder, however the names beside it sort.
  ASSERT_TRUE(fs().MakeDirectory(At("u")));
  ASSERT_TRUE(fs().MakeDirectory(At("u\\manifest")));
  Put("u\\manifest\\kept.xml", "x");
  harness_->MakeReadOnly(At("u\\manifest\\kept.xml"));
  Put("u.bak", "beside");
  EXPECT_FALSE(fs().DeleteFolder(At("u")));
  EXPECT_TRUE(fs().FileExists(At("u\\manifest\\kept.xml")));
  Put("plain", "x");
  EXPECT_FALSE(fs().DeleteFolder(At("plain")));
  EXPECT_TRUE(fs().FileExists(At("plain")));
}

TEST_P(FileSystemContract, ReadTellsEmptyFromMissing) {
  Put("empty", "");
  EXPECT_EQ(fs().ReadFile(At("empty")), std::string());
  EXPECT_EQ(fs().ReadFile(At("missing")), std::nullopt);
  ASSERT_TRUE(fs().MakeDirectory(At("dir")));
  EXPECT_EQ(fs().ReadFile(At("dir")), std::nullopt);
  const std::string bytes("\x00\xff\r\n\xc3\xa4\x1a", 7);
  Put("bytes", bytes);
  EXPECT_EQ(Content("bytes"), bytes);
}

TEST_P(FileSystemContract, LookupReportsTheStoredNameAndAttributes) {
  Put("ICQ.exe", "x");
  auto entry = fs().Lookup(At("icq.EXE"));
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->name, "ICQ.exe");
  EXPECT_FALSE(entry->hidden);
  harness_->MakeHidden(At("ICQ.exe"));
  EXPECT_TRUE(fs().Lookup(At("ICQ.exe"))->hidden);
  EXPECT_FALSE(fs().Lookup(At("*.exe"))) << "no wildcards";
  EXPECT_FALSE(fs().Lookup(At("missing")));
  ASSERT_TRUE(fs().MakeDirectory(At("Sub")));
  EXPECT_TRUE(fs().Lookup(At("sub"))->directory);
}

TEST_P(FileSystemContract, NewFileIsWrittenOnceAndLeavesNothingBehind) {
  EXPECT_TRUE(fs().WriteNewFile(At("copy"), "first"));
  EXPECT_FALSE(fs().WriteNewFile(At("copy"), "second"));
  EXPECT_EQ(Content("copy"), "first");
  EXPECT_FALSE(fs().WriteNewFile(At("missing\\copy"), "x"));
  EXPECT_FALSE(fs().FileExists(At("copy.kelvane-part")));
  EXPECT_FALSE(fs().FileExists(At("missing\\copy.kelvane-part")));
}

TEST_P(FileSystemContract, NormalAttributesByPatternReachEveryMatchingFile) {
  ASSERT_TRUE(fs().MakeDirectory(At("u")));
  ASSERT_TRUE(fs().MakeDirectory(At("u\\sub")));
  Put("u\\a.xml", "1");
  Put("u\\manifest", "2");
  harness_->MakeReadOnly(At("u\\a.xml"));
  harness_->MakeReadOnly(At("u\\manifest"));
  EXPECT_TRUE(fs().SetNormalAttributesMatching(At("u\\*.*")));
  EXPECT_FALSE(fs().Lookup(At("u\\a.xml"))->read_only);
  EXPECT_FALSE(fs().Lookup(At("u\\manifest"))->read_only);
  EXPECT_TRUE(fs().DeleteMatching(At("u\\*.*")));
  EXPECT_FALSE(fs().SetNormalAttributesMatching(At("u\\*.*"))) << "only a folder is left";
}

// Passes the old bytes on with every "x" made a "y" and a "!" behind them, or writes only
// what it is given instead; keeps the result only when told to.
class MarkingEdit : public FileEdit {
 public:
  explicit MarkingEdit(bool keep = true, std::optional<std::string> instead = std::nullopt)
      : keep_(keep), instead_(std::move(instead)) {}
  void Take(std::string_view piece, ByteSink& out) override {
    seen += piece;
    std::string marked(piece);
    std::replace(marked.begin(), marked.end(), 'x', 'y');
    if (!instead_)
      out.Write(marked);
  }
  bool Finish(ByteSink& out) override {
    out.Write(instead_.value_or("!"));
    return keep_;
  }
  std::string seen;

 private:
  bool keep_;
  std::optional<std::string> instead_;
};

TEST_P(FileSystemContract, RewriteSwapsInExactlyTheEditedBytes) {
  const std::string old = LargeText();
  Put("hosts", old);
  MarkingEdit edit;
  EXPECT_EQ(fs().RewriteFile(At("hosts"), edit), Rewrite::Replaced);
  EXPECT_TRUE(edit.seen == old) << "every old byte, in order";
  std::string marked = old;
  std::replace(marked.begin(), marked.end(), 'x', 'y');
  EXPECT_TRUE(Content("hosts") == marked + "!");
  // A program that holds the file, sharing writing, gets it rewritten in place.
  harness_->Hold(At("hosts"), true);
  MarkingEdit shorter(true, "new");
  EXPECT_EQ(fs().RewriteFile(At("hosts"), shorter), Rewrite::Replaced);
  EXPECT_EQ(Content("hosts"), "new") << "no old tail";
  ExpectNothingBeside(fs(), At("hosts"));
}

TEST_P(FileSystemContract, RewriteThatIsNotDoneKeepsTheOldFileAndLeavesNothing) {
  Put("kept", "old");
  Put("ro", "old");
  harness_->MakeReadOnly(At("ro"));
  Put("held, writing not shared", "old");
  harness_->Hold(At("held, writing not shared"), false);
  ASSERT_TRUE(fs().MakeDirectory(At("dir")));
  const struct {
    const char* file;
    bool keep;
    Rewrite result;
  } cases[] = {
      {"kept", false, Rewrite::Kept},
      {"ro", true, Rewrite::Failed},
      {"held, writing not shared", true, Rewrite::Failed},
      {"dir", true, Rewrite::Unreadable},
      {"missing", true, Rewrite::Unreadable},
      {"missing\\hosts", true, Rewrite::Unreadable},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    MarkingEdit edit(c.keep);
    EXPECT_EQ(fs().RewriteFile(At(c.file), edit), c.result);
    ExpectNothingBeside(fs(), At(c.file));
  }
  for (const char* file : {"kept", "ro", "held, writing not shared"})
    EXPECT_EQ(Content(file), "old") << file;
  EXPECT_TRUE(fs().FolderExists(At("dir")));
  EXPECT_FALSE(fs().FileExists(At("missing")));
}

TEST_P(FileSystemContract, LinksAreToldFromWhatTheyPointTo) {
  ASSERT_TRUE(fs().MakeDirectory(At("outside")));
  Put("outside\\file", "x");
  harness_->MakeLink(At("link"), At("outside"));
  EXPECT_TRUE(fs().IsLink(At("link")));
  EXPECT_TRUE(fs().IsLink(At("link\\"))) << "the link itself, not what it points to";
  EXPECT_FALSE(fs().IsLink(At("outside")));
  EXPECT_FALSE(fs().IsLink(At("outside\\file")));
  EXPECT_FALSE(fs().IsLink(At("missing")));
}

}  // namespace
}  // namespace kelvane::testing
