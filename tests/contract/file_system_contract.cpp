#include "tests/contract/file_system_contract.h"

#include <algorithm>
#include <optional>

#include "install/icq_folder.h"

namespace kelvane::testing {
namespace {

// Nothing of a write may stay beside the file: neither our copy nor a system leftover.
void ExpectNothingBeside(FileSystem& fs, const std::string& path) {
  const std::string folder = path.substr(0, path.find_last_of('\\') + 1);
  EXPECT_FALSE(fs.FileExists(path + ".kelvane-part")) << path;
  EXPECT_FALSE(fs.DeleteMatching(folder + "*.tmp")) << path;
}

// Longer than any single write or piece a rewrite reads at once, with line ends, NULs, bytes
// above 127, the old end-of-file mark and the letter x on the way.
std::string LargeText() {
  const std::string ends[] = {std::string(1, '\0'), "\r\n", "\xff\x1a"};
  std::string text;
  for (int i = 0; text.size() < 300000; ++i)
    text.append("x").append(std::to_string(i)).append(ends[i % 3]);
  return text;
}

std::string Marked(std::string_view text) {
  std::string marked(text);
  std::replace(marked.begin(), marked.end(), 'x', 'y');
  return marked;
}

// Passes the old bytes on with every "x" made a "y" and a "!" behind them; keeps the result
// only when told to.
class MarkingEdit : public FileEdit {
 public:
  explicit MarkingEdit(bool keep = true) : keep_(keep) {}
  void Take(std::string_view piece, ByteSink& out) override {
    seen += piece;
    out.Write(Marked(piece));
  }
  bool Finish(ByteSink& out) override {
    out.Write("!");
    return keep_;
  }
  std::string seen;

 private:
  bool keep_;
};

enum class Stands { kFile, kEmptyFile, kReadOnlyFile, kFolder, kNothing, kNothingNorItsFolder };

// Each call either does all it is asked or leaves the path as it was, and leaves nothing beside
// it. A holder that shares writing gets the file written in place, one that shares only reading
// keeps it as it was, one that shares nothing keeps it unread.
TEST_F(FileSystemContract, EachCallDoesAllOrNothingWhateverStandsThere) {
  using enum Stands;
  using enum Sharing;
  using enum Rewrite;
  const std::string old = LargeText();
  // Then: WriteFile puts the new bytes in; RewriteFile's result; DeleteFileAt deletes;
  // WriteNewFile and MakeDirectory each make something new.
  const struct {
    const char* name;
    Stands stands;
    std::optional<Sharing> held;
    bool written;
    Rewrite rewritten;
    bool deleted, made;
  } rows[] = {
      {"a file", kFile, {}, true, Replaced, true, false},
      {"an empty file", kEmptyFile, {}, true, Replaced, true, false},
      {"held, writing shared", kFile, kReadWrite, true, Replaced, false, false},
      {"held, reading shared", kFile, kRead, false, Failed, false, false},
      {"held, nothing shared", kFile, kNone, false, Unreadable, false, false},
      {"read-only", kReadOnlyFile, {}, false, Failed, false, false},
      {"a folder", kFolder, {}, false, Unreadable, false, false},
      {"nothing", kNothing, {}, true, Unreadable, false, true},
      {"nothing, nor its folder", kNothingNorItsFolder, {}, false, Unreadable, false, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    // What a reader finds at the path: the bytes of a file, or what else stands there. Read
    // whole or in pieces, it finds the same.
    const auto found = [&](const std::string& path) -> std::string {
      std::string pieces;
      const bool read = fs().ReadInPieces(path, [&](std::string_view piece) { pieces += piece; });
      EXPECT_EQ(read ? std::optional(pieces) : std::nullopt, fs().ReadFile(path)) << path;
      const bool file = fs().FileExists(path), folder = fs().FolderExists(path + "\\");
      if (file && !folder)
        return fs().ReadFile(path).value_or("<unreadable file>");
      const std::string what = (folder ? "<folder>" : "") +
                               std::string(fs().ReadFile(path) ? "<bytes>" : "") +
                               (file ? "<file>" : "");
      return what.empty() ? "<nothing>" : what;
    };
    // What the row names, at a path of its own for each call; before is what is found there.
    std::string before;
    const auto make = [&](const std::string& call) {
      const std::string path =
          At((r.stands == kNothingNorItsFolder ? "missing\\" : "") + (r.name + (", " + call)));
      if (r.stands == kFolder) {
        EXPECT_TRUE(fs().MakeDirectory(path));
      }
      if (r.stands == kFile || r.stands == kEmptyFile || r.stands == kReadOnlyFile) {
        EXPECT_TRUE(fs().WriteFile(path, r.stands == kEmptyFile ? "" : old));
      }
      if (r.stands == kReadOnlyFile)
        harness_->MakeReadOnly(path);
      if (r.held)
        harness_->Hold(path, *r.held);
      before = found(path);
      return path;
    };
    const auto expect = [&](const std::string& path, const std::string& bytes) {
      EXPECT_TRUE(found(path) == bytes) << path;
      ExpectNothingBeside(fs(), path);
    };

    std::string path = make("write");
    EXPECT_EQ(fs().WriteFile(path, "new"), r.written);
    expect(path, r.written ? "new" : before);

    path = make("rewrite");
    MarkingEdit edit;
    EXPECT_EQ(fs().RewriteFile(path, edit), r.rewritten);
    const bool replaced = r.rewritten == Replaced;
    EXPECT_TRUE(!replaced || edit.seen == before) << "every old byte, in order";
    expect(path, replaced ? Marked(before) + "!" : before);

    path = make("delete");
    EXPECT_EQ(fs().DeleteFileAt(path), r.deleted);
    expect(path, r.deleted ? "<nothing>" : before);

    path = make("new file");
    EXPECT_EQ(fs().WriteNewFile(path, "new"), r.made);
    expect(path, r.made ? "new" : before);

    path = make("new folder");
    EXPECT_EQ(fs().MakeDirectory(path), r.made);
    expect(path, r.made ? "<folder>" : before);
  }
  Put("declined", old);
  MarkingEdit declining(false);
  EXPECT_EQ(fs().RewriteFile(At("declined"), declining), Rewrite::Kept);
  EXPECT_TRUE(Content("declined") == old) << "every byte back as written";
  ExpectNothingBeside(fs(), At("declined"));
  Put("ro.box", "x");
  harness_->MakeReadOnly(At("ro.box"));
  EXPECT_TRUE(fs().SetNormalAttributes(At("ro.box")));
  EXPECT_FALSE(fs().Lookup(At("ro.box"))->read_only);
  EXPECT_TRUE(fs().DeleteFileAt(At("RO.box"))) << "any letter case";
  EXPECT_FALSE(fs().SetNormalAttributes(At("ro.box"))) << "missing";
}

// Patterns reach files only, whatever the letter case of their names; "*.*" reaches names
// without a dot too.
TEST_F(FileSystemContract, PatternsReachEveryMatchingFileAndNoFolder) {
  ASSERT_TRUE(fs().MakeDirectory(At("c")));
  ASSERT_TRUE(fs().MakeDirectory(At("c\\adfolder")));
  for (const char* file : {"c\\AdConfig.xml", "c\\adrules", "c\\xad.xml", "c\\plain"}) {
    Put(file, "x");
    harness_->MakeReadOnly(At(file));
  }
  EXPECT_TRUE(fs().SetNormalAttributesMatching(At("c\\*.*")));
  EXPECT_FALSE(fs().Lookup(At("c\\plain"))->read_only);
  EXPECT_TRUE(fs().DeleteMatching(At("c\\ad*")));
  EXPECT_FALSE(fs().FileExists(At("c\\AdConfig.xml")));
  EXPECT_FALSE(fs().FileExists(At("c\\adrules")));
  EXPECT_TRUE(fs().FileExists(At("c\\xad.xml")));
  EXPECT_FALSE(fs().DeleteMatching(At("c\\ad*"))) << "nothing left to match";
  EXPECT_TRUE(fs().DeleteMatching(At("c\\*.*")));
  EXPECT_FALSE(fs().FileExists(At("c\\plain")));
  EXPECT_FALSE(fs().SetNormalAttributesMatching(At("c\\*.*"))) << "only a folder is left";
  EXPECT_TRUE(fs().FolderExists(At("c\\adfolder")));
}

// A file it cannot delete keeps the folder, however the names beside it sort.
TEST_F(FileSystemContract, DeleteFolderRemovesEverythingInIt) {
  Put("u.bak", "beside");
  for (const bool read_only : {false, true}) {
    SCOPED_TRACE(read_only ? "a read-only file inside" : "");
    ASSERT_TRUE(fs().MakeDirectory(At("u")));
    ASSERT_TRUE(fs().MakeDirectory(At("u\\manifest")));
    Put("u\\manifest\\kept.xml", "x");
    Put("u\\f", "y");
    if (read_only)
      harness_->MakeReadOnly(At("u\\manifest\\kept.xml"));
    EXPECT_EQ(fs().DeleteFolder(At("u")), !read_only);
    EXPECT_EQ(fs().FileExists(At("u\\manifest\\kept.xml")), read_only);
    EXPECT_FALSE(fs().FileExists(At("u\\f")));
  }
  EXPECT_FALSE(fs().DeleteFolder(At("missing")));
  EXPECT_FALSE(fs().DeleteFolder(At("u.bak")));
  EXPECT_EQ(Content("u.bak"), "beside");
}

// Kelvane runs elevated: a link is told from what it points to, nothing is deleted through one,
// and a file link that is written to stays a link.
TEST_F(FileSystemContract, NothingReachesThroughALinkAndLinksStayLinks) {
  ASSERT_TRUE(fs().MakeDirectory(At("outside")));
  Put("outside\\file", "x");
  ASSERT_TRUE(fs().MakeDirectory(At("u")));
  harness_->MakeLink(At("u\\link"), At("outside"));
  harness_->MakeLink(At("hosts"), At("outside\\file"));
  Put("outside\\kept", "r");
  harness_->MakeReadOnly(At("outside\\kept"));
  harness_->MakeHardLink(At("u\\named"), At("outside\\kept"));
  EXPECT_TRUE(fs().IsLink(At("u\\named"))) << "a file with a name outside as well";
  fs().SetNormalAttributesMatching(At("u\\*.*"));
  EXPECT_TRUE(fs().Lookup(At("outside\\kept"))->read_only);
  EXPECT_TRUE(fs().IsLink(At("u\\link")));
  EXPECT_TRUE(fs().IsLink(At("u\\link\\"))) << "the link itself, not what it points to";
  EXPECT_TRUE(fs().IsLink(At("hosts")));
  for (const char* plain : {"outside", "outside\\file", "missing"})
    EXPECT_FALSE(fs().IsLink(At(plain))) << plain;
  EXPECT_FALSE(fs().DeleteMatching(At("u\\link\\*.*")));
  // A link to a file met by a pattern, a folder link that goes, a link inside a folder that goes,
  // or under the name of a write's copy: Wine deletes what such a link points to rather than the
  // link.
  harness_->MakeLink(At("u\\adlink"), At("outside\\file"));
  Put("w", "old");
  harness_->MakeLink(At("w.kelvane-part"), At("outside\\file"));
  fs().DeleteMatching(At("u\\ad*"));
  fs().DeleteFolder(At("u\\link"));
  fs().DeleteFolder(At("u"));
  fs().WriteFile(At("w"), "new");
  MarkingEdit rewrite;
  fs().RewriteFile(At("w"), rewrite);
  EXPECT_EQ(Content("outside\\file"), "x");
  MarkingEdit edit;
  EXPECT_EQ(fs().RewriteFile(At("hosts"), edit), Rewrite::Replaced);
  EXPECT_EQ(Content("hosts"), "y!");
  EXPECT_TRUE(fs().IsLink(At("hosts")));
  ExpectNothingBeside(fs(), At("hosts"));
}

// The folder field's check: Windows opens names without regard to case and reads "C:\\ICQ.exe"
// as "C:\ICQ.exe", so only the stored names and the length rule decide.
TEST_F(FileSystemContract, FolderFieldEnablesStartOnlyForAnIcqFolder) {
  for (const char* folder : {"ICQ7.1", "half", "lower", "hidden", "dirs", "dirs\\ICQ.exe"})
    ASSERT_TRUE(fs().MakeDirectory(At(folder)));
  for (const char* file :
       {"ICQ7.1\\ICQ.exe", "ICQ7.1\\MCore.dll", "half\\ICQ.exe", "lower\\icq.exe",
        "lower\\MCore.dll", "hidden\\ICQ.exe", "hidden\\MCore.dll", "dirs\\MCore.dll"}) {
    Put(file, "x");
  }
  harness_->MakeHidden(At("hidden\\MCore.dll"));
  const char* const in_drive_root[] = {"C:\\ICQ.exe", "C:\\MCore.dll"};
  for (const char* path : in_drive_root)
    EXPECT_TRUE(fs().WriteFile(path, "x")) << path;
  for (const std::string& text : {At("ICQ7.1"), At("ICQ7.1\\"), At("icq7.1")})
    EXPECT_TRUE(ValidateFolderField(fs(), text)) << text;
  // Windows reads "*", "<", ">" and '"' as wildcards, but no name holds them.
  for (const std::string& text :
       {At("ICQ7."), At("ICQ7.1\\ICQ.exe"), At("half"), At("lower\\"), At("hidden"), At("dirs"),
        At("ICQ7.1\\*"), At("ICQ7.1\\<"), At("ICQ7.1\\>"), At("ICQ7.1\\\""), At("ICQ7<"),
        std::string("C:\\"), std::string("C:"), std::string()}) {
    EXPECT_FALSE(ValidateFolderField(fs(), text)) << text;
  }
  for (const char* path : in_drive_root)
    fs().DeleteFileAt(path);
}

}  // namespace
}  // namespace kelvane::testing
