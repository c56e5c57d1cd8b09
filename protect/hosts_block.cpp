#include "protect/hosts_block.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "protect/name_search.h"

namespace kelvane {
namespace {

constexpr size_t npos = std::string_view::npos;

struct Line {
  std::string_view text;    // without its line end
  std::string_view ending;  // "\r\n", "\n", "\r", or empty for a last line without one
};

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

// Where a line lies in the text.
struct Span {
  size_t start, end, next;  // the line's first byte, its line end, the next line's first byte
};

// The line around position at. Other tools leave bare LF or CR line ends, and each of them
// ends a line as CR LF does, so no edit can reach beyond its own line.
Span LineAround(std::string_view text, size_t at) {
  const size_t before = text.find_last_of("\r\n", at);
  const size_t start = before == npos ? 0 : before + 1;
  const size_t end = std::min(text.find_first_of("\r\n", at), text.size());
  const size_t next = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : end < text.size());
  return {start, end, next};
}

// Whether the text behind a loopback prefix names the host, without regard to case. The name
// must end there: "atwola.com.au" is somebody else's host, not ours.
bool NamesHost(std::string_view name, std::string_view host) {
  if (!NamedAt(name, 0, host))
    return false;
  if (name.size() == host.size())
    return true;
  const char after = name[host.size()];
  return after == ' ' || after == '\t' || after == '#' || IsLineEnd(after);
}

// The ad domains: the hosts that end in no other host's name. Every entry ends in one, so a
// line that names none of them holds none of our entries.
const std::vector<std::string_view>& AdDomains() {
  static const auto* const domains = [] {
    auto* found = new std::vector<std::string_view>;
    for (std::string_view host : AdServerHosts) {
      if (std::none_of(AdServerHosts.begin(), AdServerHosts.end(), [host](std::string_view other) {
            return other != host && host.ends_with(other);
          })) {
        found->push_back(host);
      }
    }
    return found;
  }();
  return *domains;
}

// Which of our hosts the text at the position names, if any: at most one does, since a name
// must end where the host's does.
std::optional<size_t> HostNamedAt(std::string_view line, size_t at) {
  for (size_t i = 0; i < AdServerHosts.size(); ++i) {
    if (NamesHost(line.substr(at), AdServerHosts[i]))
      return i;
  }
  return std::nullopt;
}

// Where each host's entry text first stands in the line; npos where it does not.
using Positions = std::array<size_t, AdServerHosts.size()>;

Positions EntryPositions(std::string_view line) {
  Positions positions;
  positions.fill(npos);
  for (size_t at = line.find(kLoopbackPrefix); at != npos;
       at = line.find(kLoopbackPrefix, at + 1)) {
    const std::optional<size_t> host = HostNamedAt(line, at + kLoopbackPrefix.size());
    if (host && positions[*host] == npos)
      positions[*host] = at;
  }
  return positions;
}

// Whether the line is one a block appended, but for blanks at its end.
bool IsOurLine(std::string_view line) {
  line = line.substr(0, line.find_last_not_of(" \t") + 1);
  for (size_t i = 0; i < AdServerHosts.size(); ++i) {
    if (line == OurEntryLine(i))
      return true;
  }
  return false;
}

enum class Mode { Block, Unblock };

// Edits hosts text that comes piece by piece, as the file is read, so that not even the
// largest blocking list is ever held whole. Only lines that hold one of our entries are looked
// at closely; the bytes between them pass on as they came.
class HostsEditor {
 public:
  explicit HostsEditor(Mode mode) : mode_(mode) {}

  void Take(std::string_view piece, ByteSink& out) {
    if (piece.empty())
      return;
    ends_in_line_end_ = IsLineEnd(piece.back());
    const size_t cut = CompleteLinesEnd(piece);
    if (cut == 0) {
      carry_ += piece;
      return;
    }
    size_t first = 0;
    if (!carry_.empty()) {
      first = FirstLineEnd(piece);
      carry_ += piece.substr(0, first);
      EditLines(carry_, out);
    }
    EditLines(piece.substr(first, cut - first), out);
    carry_ = piece.substr(cut);
  }

  // Windows' resolver may take a UTF-8 mark in front of the text for part of its first line,
  // so an entry there is not counted: at worst a line of ours repeats it.
  void MarkInFront() { first_line_unread_ = true; }

  // Whether an entry line was appended or taken out: more than the end tidied.
  bool edited() const { return changed_; }
  // The hosts with an active entry in the text so far.
  const AdHostMarks& found() const { return found_; }

  // Ends the text and tells whether it differs from the one that came in.
  bool Finish(ByteSink& out) {
    EditLines(carry_, out);
    // Without an edit the text comes out as it came, but for its end.
    bool changed = changed_ || pending_ != "\r\n";
    if (mode_ == Mode::Block) {
      // A last line without its line end is completed before anything is appended, and so is
      // one that ends in a bare CR, which Windows may not read as a line end.
      if (!ends_in_line_end_ || pending_.ends_with('\r'))
        Put("\r\n", out);
      for (size_t i = 0; i < AdServerHosts.size(); ++i) {
        if (found_[i])
          continue;
        Put(OurEntryLine(i) + "\r\n", out);
        changed = changed_ = true;
      }
    }
    // Blank lines at the end go, and the text ends in exactly one CR LF.
    out.Write("\r\n");
    return changed;
  }

 private:
  // Where the lines end that later pieces cannot change: after the last line end, unless that
  // is a CR the next piece may complete to CR LF.
  static size_t CompleteLinesEnd(std::string_view piece) {
    const size_t limit = piece.size() - (piece.back() == '\r');
    const size_t last = limit == 0 ? npos : piece.find_last_of("\r\n", limit - 1);
    return last == npos ? 0 : last + 1;
  }

  // Where in the piece the carried line ends.
  size_t FirstLineEnd(std::string_view piece) const {
    if (carry_.back() == '\r')
      return piece.front() == '\n';
    return LineAround(piece, 0).next;
  }

  // Edits whole lines; the last may lack its line end only at the end of the text.
  void EditLines(std::string_view text, ByteSink& out) {
    size_t done = KeepBlankLineApart(text, 0, out);  // bytes of text already passed on
    for (const Span& line : LinesNamingAdDomains(text)) {
      if (AllFound())
        break;
      Put(text.substr(done, line.start - done), out);
      EditLine({text.substr(line.start, line.end - line.start),
                text.substr(line.end, line.next - line.end)},
               first_line_unread_ && line.start == 0, out);
      done = KeepBlankLineApart(text, line.next, out);
    }
    Put(text.substr(done), out);
    first_line_unread_ = first_line_unread_ && text.find_first_of("\r\n") == npos;
  }

  // The lines of the text that name one of the ad domains anywhere, in order. The block looks
  // no further once it met each host's first line.
  std::vector<Span> LinesNamingAdDomains(std::string_view text) const {
    std::vector<Span> lines;
    if (AllFound())
      return lines;
    for (size_t at : FindNames(text, AdDomains())) {
      if (lines.empty() || at >= lines.back().next)
        lines.push_back(LineAround(text, at));
    }
    return lines;
  }

  // Once each host has an active entry, the block has nothing left to look at.
  bool AllFound() const {
    return mode_ == Mode::Block && std::all_of(found_.begin(), found_.end(), std::identity());
  }

  // The block changes no line: an entry of the user's, commented or not, stays theirs, and a
  // host without an active entry gets a line of its own. The unblock takes out just those lines.
  void EditLine(Line line, bool unread, ByteSink& out) {
    if (mode_ == Mode::Block) {
      if (!unread)
        NoteActiveEntries(line.text);
    } else if (IsOurLine(line.text)) {
      changed_ = true;
      return;
    }
    Put(line.text, out);
    Put(line.ending, out);
  }

  // Every host with an entry in the line that no "#" stands in front of is found.
  void NoteActiveEntries(std::string_view line) {
    const Positions positions = EntryPositions(line);
    const size_t comment = line.find('#');
    for (size_t i = 0; i < AdServerHosts.size(); ++i)
      found_[i] = found_[i] || positions[i] < comment;
  }

  // A bare CR followed by a bare LF would read as one CR LF: a blank line that comes to follow
  // a bare CR, once the lines between went, ends in CR LF instead. Returns where text goes on.
  size_t KeepBlankLineApart(std::string_view text, size_t at, ByteSink& out) {
    if (at >= text.size() || text[at] != '\n' || !pending_.ends_with('\r'))
      return at;
    Put("\r\n", out);
    return at + 1;
  }

  // Line ends are held back until other bytes follow, since those at the very end go.
  void Put(std::string_view bytes, ByteSink& out) {
    const size_t last = bytes.find_last_not_of("\r\n");
    if (last == npos) {
      pending_ += bytes;
      return;
    }
    out.Write(pending_);
    out.Write(bytes.substr(0, last + 1));
    pending_ = bytes.substr(last + 1);
  }

  const Mode mode_;
  AdHostMarks found_{};             // the host has an active entry in the text so far
  bool changed_ = false;            // a line was edited, added or dropped
  bool ends_in_line_end_ = false;   // the text so far ends in a line end
  std::string carry_;               // the lines at the end of the pieces so far that may still grow
  std::string pending_;             // the line ends at the end of what was passed on so far
  bool first_line_unread_ = false;  // the text so far is the first line, behind a UTF-8 mark
};

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// UTF-16 text, by its byte-order mark.
bool IsWideText(std::string_view hosts) {
  return hosts.starts_with("\xFF\xFE") || hosts.starts_with("\xFE\xFF");
}

// A hosts file's text through the editor. A UTF-8 byte-order mark belongs to the file, not to
// its first line, which the edit may drop; UTF-16 text is left alone, since our single-byte
// lines can be neither put into it nor found in it.
class HostsTextEdit : public FileEdit {
 public:
  explicit HostsTextEdit(Mode mode) : editor_(mode) {}

  void Take(std::string_view piece, ByteSink& out) override {
    if (start_.size() < kUtf8Mark.size()) {
      const size_t taken = std::min(piece.size(), kUtf8Mark.size() - start_.size());
      start_ += piece.substr(0, taken);
      piece.remove_prefix(taken);
      if (start_.size() < kUtf8Mark.size())
        return;
      PassStart(out);
    }
    if (!wide())
      editor_.Take(piece, out);
  }
  bool Finish(ByteSink& out) override {
    if (start_.size() < kUtf8Mark.size())
      PassStart(out);
    if (wide())
      return false;
    finished_ = true;
    return editor_.Finish(out);
  }
  // The file holds the entries as the operation wants them; at most its end was left untidy.
  bool EntriesInPlace() const { return finished_ && !editor_.edited(); }
  bool wide() const { return IsWideText(start_); }
  const HostsEditor& editor() const { return editor_; }

 private:
  // The first bytes, once they tell what kind of text this is.
  void PassStart(ByteSink& out) {
    if (wide())
      return;
    if (start_ == kUtf8Mark) {
      out.Write(start_);
      editor_.MarkInFront();
    } else {
      editor_.Take(start_, out);
    }
  }

  HostsEditor editor_;
  std::string start_;      // the first bytes, up to the length of a UTF-8 mark
  bool finished_ = false;  // the whole old text went through the editor
};

// The hosts file's edit: the new text replaces the old only when it differs, and only once a
// copy of the user's own file is kept beside it.
class HostsFileEdit : public HostsTextEdit {
 public:
  HostsFileEdit(Mode mode, FileSystem& fs, std::string path)
      : HostsTextEdit(mode), fs_(fs), path_(std::move(path)) {}
  bool Finish(ByteSink& out) override { return HostsTextEdit::Finish(out) && KeepBackup(); }

 private:
  // Written once, before the first change; the old file is read whole just this once.
  bool KeepBackup() {
    const std::string backup = path_ + kHostsBackupSuffix;
    if (fs_.FileExists(backup))
      return true;
    const std::optional<std::string> old = fs_.ReadFile(path_);
    return old && fs_.WriteNewFile(backup, *old);
  }

  FileSystem& fs_;
  const std::string path_;
};

std::string EditText(Mode mode, std::string_view hosts) {
  HostsEditor editor(mode);
  StringSink out;
  editor.Take(hosts, out);
  editor.Finish(out);
  return std::move(out.text);
}

// Discards what it is given: a scan writes nothing anywhere.
class Nowhere : public ByteSink {
 public:
  void Write(std::string_view) override {}
};

// What the edit finds in hosts text that feed passes piece by piece to the function it is
// given, the edit's bytes going nowhere. Nullopt when feed fails.
template <typename Feed>
std::optional<HostsTextEdit> Scan(Mode mode, const Feed& feed) {
  HostsTextEdit scan(mode);
  Nowhere nowhere;
  if (!feed([&](std::string_view piece) { scan.Take(piece, nowhere); }))
    return std::nullopt;
  scan.Finish(nowhere);
  return scan;
}

// The file's scan; nullopt too when it is missing or unreadable.
std::optional<HostsTextEdit> ScanHostsFile(FileSystem& fs, const std::string& path, Mode mode) {
  return Scan(mode, [&](const auto& take) { return fs.ReadInPieces(path, take); });
}

// The entries a scan found active; nullopt when it read nothing, or UTF-16 text.
std::optional<AdHostMarks> FoundEntries(const std::optional<HostsTextEdit>& scan) {
  return scan && !scan->wide() ? std::optional(scan->editor().found()) : std::nullopt;
}

enum class Edit { Done, Missing, Unreadable, Wide, NotWritten };

// Applies the edit to the hosts file. The file is written only when the edit changes it, and
// never when it could not be read.
Edit EditHostsFile(FileSystem& fs, SystemInfo& system, Mode mode) {
  const std::string path = HostsFilePath(system);
  if (!fs.FileExists(path))
    return Edit::Missing;
  fs.SetNormalAttributes(path);
  HostsFileEdit edit(mode, fs, path);
  switch (fs.RewriteFile(path, edit)) {
    case Rewrite::Replaced:
      return Edit::Done;
    case Rewrite::Unreadable:
      // An empty hosts file reads fine: only a file that cannot be read at all lands here.
      return Edit::Unreadable;
    case Rewrite::Kept:
    case Rewrite::Failed:
      break;
  }
  if (edit.wide())
    return Edit::Wide;
  // Blank lines left at the end are no reason to report a failure.
  return edit.EntriesInPlace() ? Edit::Done : Edit::NotWritten;
}

}  // namespace

std::optional<AdHostMarks> ActiveAdHostEntries(std::string_view hosts) {
  return FoundEntries(Scan(Mode::Block, [&](const auto& take) {
    take(hosts);
    return true;
  }));
}

std::optional<AdHostMarks> ActiveAdHostEntriesIn(FileSystem& fs, const std::string& path) {
  return FoundEntries(ScanHostsFile(fs, path, Mode::Block));
}

std::string OurEntryLine(size_t host) {
  return std::string(kLoopbackPrefix).append(AdServerHosts[host]).append(kOurMark);
}

std::string HostsFilePath(SystemInfo& system) {
  return WithBackslash(system.SystemDirectory()) + "drivers\\etc\\hosts";
}

std::string BlockAdHostsText(std::string_view hosts) {
  return EditText(Mode::Block, hosts);
}

std::string UnblockAdHostsText(std::string_view hosts) {
  return EditText(Mode::Unblock, hosts);
}

void BlockAdHosts(RunContext& run) {
  if (EditHostsFile(run.fs, run.system, Mode::Block) != Edit::Done)
    run.status.Raise(Failure::HostsAccessDenied, HostsFilePath(run.system));
}

void UnblockAdHosts(RunContext& run) {
  // A file without a line of ours is the user's alone: not even its attributes change. UTF-16
  // text, which Kelvane never writes, holds none.
  const std::optional<HostsTextEdit> scan =
      ScanHostsFile(run.fs, HostsFilePath(run.system), Mode::Unblock);
  if (scan && !scan->editor().edited())
    return;
  const Edit edit = EditHostsFile(run.fs, run.system, Mode::Unblock);
  if (edit == Edit::Unreadable)
    run.status.Raise(Failure::DataAccessFailed, HostsFilePath(run.system));
  // Lines of ours that should go but could not must not end in a report of success.
  if (edit == Edit::NotWritten)
    run.status.Raise(Failure::HostsAccessDenied, HostsFilePath(run.system));
}

}  // namespace kelvane
