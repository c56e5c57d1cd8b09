#include "protect/hosts_block.h"

#include <algorithm>
#include <optional>

#include "engine/templates.h"

namespace kelvane {
namespace {

constexpr size_t npos = std::string_view::npos;

struct Line {
  std::string_view text;    // without its line end
  std::string_view ending;  // "\r\n", "\n", "\r", or empty for a last line without one
};

// Cuts the next line off the front of rest. Other tools leave bare LF or CR line ends, and each
// of them ends a line as CR LF does, so no edit can reach beyond its own line.
Line TakeLine(std::string_view& rest) {
  size_t end = 0;
  while (end < rest.size() && rest[end] != '\r' && rest[end] != '\n')
    ++end;
  size_t next = end;
  if (next < rest.size()) {
    next += rest.compare(next, 2, "\r\n") == 0 ? 2 : 1;
  }
  const Line line{rest.substr(0, end), rest.substr(end, next - end)};
  rest.remove_prefix(next);
  return line;
}

bool EndsInLineEnd(std::string_view text) {
  return !text.empty() && (text.back() == '\r' || text.back() == '\n');
}

// ASCII only: the host names are ASCII, and other bytes must never match one of their letters.
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == y; });
}

// Where each host's entry text first stands in the line, without regard to case; npos where
// it does not. The loopback prefix has no letters, so it is found exactly, in one pass, and
// only the names behind it are compared loosely.
using Positions = std::array<size_t, AdServerHosts.size()>;

Positions EntryPositions(std::string_view line) {
  Positions positions;
  positions.fill(npos);
  for (size_t at = line.find(kLoopbackPrefix); at != npos;
       at = line.find(kLoopbackPrefix, at + 1)) {
    const std::string_view name = line.substr(at + kLoopbackPrefix.size());
    for (size_t i = 0; i < AdServerHosts.size(); ++i) {
      const std::string_view host = AdServerHosts[i];
      // The name must end there: "atwola.com.au" is somebody else's host, not ours.
      const bool ends = name.size() == host.size() || name[host.size()] == ' ' ||
                        name[host.size()] == '\t' || name[host.size()] == '#';
      if (positions[i] == npos && ends && EqualsIgnoringCase(name.substr(0, host.size()), host)) {
        positions[i] = at;
      }
    }
  }
  return positions;
}

// A line that holds an entry with no "#" in front of it; a trailing comment keeps it active.
bool HoldsActiveEntry(std::string_view line) {
  const Positions positions = EntryPositions(line);
  const size_t first = *std::min_element(positions.begin(), positions.end());
  return first != npos && line.find('#') > first;
}

// The "#" in front of the entry go; a trailing comment behind it stays a comment.
std::string WithoutHashesBefore(std::string_view line, size_t entry) {
  std::string kept(line.substr(0, entry));
  kept.erase(std::remove(kept.begin(), kept.end(), '#'), kept.end());
  return kept.append(line.substr(entry));
}

// Blank lines at the end go, and the text ends in exactly one CR LF.
std::string Finish(std::string text) {
  while (EndsInLineEnd(text))
    text.pop_back();
  text += "\r\n";
  return text;
}

enum class Edit { Done, Missing, Unreadable, NotWritten };

// Applies the edit to the hosts file. The file is written only when the edit changes it, and
// never when it could not be read.
Edit EditHostsFile(RunContext& run, std::string (*edit)(std::string_view)) {
  const std::string path = HostsFilePath(run.system);
  if (!run.fs.FileExists(path))
    return Edit::Missing;
  run.fs.SetNormalAttributes(path);
  // Read directly rather than through ReadTextFile: an empty hosts file is a valid one.
  const std::optional<std::string> old = run.fs.ReadFile(path);
  if (!old) {
    run.status.Raise(Failure::DataAccessFailed);
    return Edit::Unreadable;
  }
  const std::string updated = edit(*old);
  if (updated == *old)
    return Edit::Done;
  // The first change keeps a copy of the user's own file; without one, no change.
  const std::string backup = path + kHostsBackupSuffix;
  const bool backed_up = run.fs.FileExists(backup) || run.fs.WriteNewFile(backup, *old);
  return backed_up && run.fs.ReplaceFileContents(path, updated) ? Edit::Done : Edit::NotWritten;
}

}  // namespace

std::string HostsFilePath(SystemInfo& system) {
  return GetSystemFolder(system) + "drivers\\etc\\hosts";
}

std::string BlockAdHostsText(std::string_view hosts) {
  std::array<bool, AdServerHosts.size()> found{};
  std::string out;
  out.reserve(hosts.size() + 256);  // room for every entry line and the line ends added
  for (std::string_view rest = hosts; !rest.empty();) {
    const Line line = TakeLine(rest);
    std::string reactivated;
    std::string_view text = line.text;
    Positions positions = EntryPositions(text);
    for (size_t i = 0; i < AdServerHosts.size(); ++i) {
      if (found[i] || positions[i] == npos)
        continue;
      if (text.find('#') < positions[i]) {
        reactivated = WithoutHashesBefore(text, positions[i]);
        text = reactivated;
        positions = EntryPositions(text);
      }
      // Only the first line that holds the entry is looked at.
      found[i] = true;
    }
    out += text;
    out += line.ending;
  }
  // A last line without its line end is completed before anything is appended.
  if (!EndsInLineEnd(hosts))
    out += "\r\n";
  for (size_t i = 0; i < AdServerHosts.size(); ++i) {
    if (found[i])
      continue;
    out += kLoopbackPrefix;
    out += AdServerHosts[i];
    out += "\r\n";
  }
  return Finish(std::move(out));
}

std::string UnblockAdHostsText(std::string_view hosts) {
  std::string out;
  out.reserve(hosts.size() + 2);  // a dropped line makes room for any CR the text gains
  for (std::string_view rest = hosts; !rest.empty();) {
    const Line line = TakeLine(rest);
    if (HoldsActiveEntry(line.text))
      continue;
    out += line.text;
    // A bare CR followed by a bare LF would read as one CR LF, swallowing this blank line.
    const bool would_merge = line.text.empty() && line.ending == "\n" && out.ends_with('\r');
    out += would_merge ? "\r\n" : line.ending;
  }
  return Finish(std::move(out));
}

void BlockAdHosts(RunContext& run) {
  if (EditHostsFile(run, &BlockAdHostsText) != Edit::Done)
    run.status.Raise(Failure::HostsAccessDenied);
}

void UnblockAdHosts(RunContext& run) {
  // Entries that should go but could not must not end in a report of success.
  if (EditHostsFile(run, &UnblockAdHostsText) == Edit::NotWritten)
    run.status.Raise(Failure::HostsAccessDenied);
}

}  // namespace kelvane
