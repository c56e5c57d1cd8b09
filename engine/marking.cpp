#include "engine/marking.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace kelvane {
namespace {

constexpr size_t npos = std::string_view::npos;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsSpace(char c) {
  return IsBlank(c) || c == '\r' || c == '\n';
}

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == ':' || c == '.' || c == '_' ||
         c == '-';
}

struct Range {
  size_t begin, end;
};

// Where the fragment stands inside the range as a whole word: after white space (or itself
// beginning with "<"), and not running on into a longer name.
std::vector<size_t> FindFragment(std::string_view text, std::string_view fragment, Range range) {
  std::vector<size_t> found;
  const std::string_view within = text.substr(0, range.end);
  for (size_t at = within.find(fragment, range.begin); at != npos;
       at = within.find(fragment, at + 1)) {
    const size_t end = at + fragment.size();
    const bool starts = fragment.front() == '<' || at == 0 || IsSpace(text[at - 1]);
    const bool ends = !IsNameChar(fragment.back()) || end == text.size() || !IsNameChar(text[end]);
    if (starts && ends)
      found.push_back(at);
  }
  return found;
}

std::optional<size_t> FindOnce(std::string_view text, std::string_view fragment, Range range) {
  const std::vector<size_t> found = FindFragment(text, fragment, range);
  return found.size() == 1 ? std::optional<size_t>(found.front()) : std::nullopt;
}

// The tag around position at: from its "<" to its ">", quotes heeded.
std::optional<Range> TagAround(std::string_view text, size_t at) {
  const size_t begin = text.rfind('<', at);
  if (begin == npos)
    return std::nullopt;
  bool quoted = false;
  for (size_t i = begin; i < text.size(); ++i) {
    if (text[i] == '"') {
      quoted = !quoted;
    } else if (text[i] == '>' && !quoted) {
      return i > at ? std::optional<Range>({begin, i + 1}) : std::nullopt;
    }
  }
  return std::nullopt;
}

// The element that the start tag opens: up to its end tag, or the tag alone when it closes
// itself.
std::optional<Range> ElementOf(std::string_view text, Range tag) {
  if (text.substr(0, tag.end).ends_with("/>"))
    return tag;
  size_t name_end = tag.begin + 1;
  while (name_end < tag.end && IsNameChar(text[name_end]))
    ++name_end;
  const std::string close =
      "</" + std::string(text.substr(tag.begin + 1, name_end - tag.begin - 1)) + ">";
  const size_t end = text.find(close, tag.end);
  return end == npos ? std::nullopt : std::optional<Range>({tag.begin, end + close.size()});
}

// One line of the file: where it begins, where its text without surrounding blanks lies, and
// where the next one begins.
struct Line {
  size_t begin, first, last, next;
};

std::vector<Line> LinesOf(std::string_view text) {
  std::vector<Line> lines;
  for (size_t begin = 0; begin < text.size();) {
    const size_t end = std::min(text.find('\n', begin), text.size());
    size_t first = begin, last = end;
    while (first < last && IsBlank(text[first]))
      ++first;
    while (last > first && IsSpace(text[last - 1]))
      --last;
    lines.push_back({begin, first, last, std::min(end + 1, text.size())});
    begin = end + 1;
  }
  return lines;
}

// Sets the markers in one file; each spot is found exactly once or the file is not ICQ's.
class Marking {
 public:
  Marking(const GeneratorTable& table, std::string_view text)
      : table_(table), text_(text), lines_(LinesOf(text)) {}

  bool Mark(const InTag& spot) {
    Range region{0, text_.size()};
    if (!spot.scope.empty()) {
      const std::optional<size_t> at = FindOnce(text_, spot.scope, region);
      const std::optional<Range> tag = at ? TagAround(text_, *at) : std::nullopt;
      const std::optional<Range> element = tag ? ElementOf(text_, *tag) : std::nullopt;
      if (!element)
        return false;
      region = *element;
    }
    const std::optional<size_t> at = FindOnce(text_, spot.element, region);
    const std::optional<Range> tag = at ? TagAround(text_, *at) : std::nullopt;
    if (!tag)
      return false;
    size_t start = *at + spot.element.size();
    if (!spot.after.empty()) {
      const std::optional<size_t> after = FindOnce(text_, spot.after, *tag);
      if (!after)
        return false;
      start = *after + spot.after.size();
    }
    // The longest known value that is followed by what must follow the spot.
    std::vector<std::string_view> values = KnownValues(table_, spot.marker);
    std::sort(values.begin(), values.end(),
              [](std::string_view a, std::string_view b) { return a.size() > b.size(); });
    for (std::string_view value : values) {
      if (text_.compare(start, value.size(), value) == 0 &&
          SpotEndsAt(start + value.size(), spot.until)) {
        return !HasAnAttributeOf(*tag, {start, start + value.size()}, spot.marker) &&
               Set(spot.marker, start, value.size());
      }
    }
    return false;
  }

  bool Mark(const InEntity& spot) {
    const std::string head = "<!ENTITY " + std::string(spot.name);
    const std::optional<size_t> at = FindOnce(text_, head, {0, text_.size()});
    if (!at)
      return false;
    const size_t open = text_.find_first_not_of(" \t", *at + head.size());
    const size_t close = open == npos ? npos : text_.find('"', open + 1);
    if (open == *at + head.size() || close == npos || text_[open] != '"')
      return false;
    Range value{open + 1, close};
    if (spot.alt_key) {
      constexpr std::string_view kAlt = "(Alt+";
      const size_t alt = text_.substr(value.begin, value.end - value.begin).find(kAlt);
      const size_t end = alt == npos ? npos : text_.find(')', value.begin + alt);
      if (end == npos || end > value.end)
        return false;
      value = {value.begin + alt + kAlt.size(), end};
    }
    return Known(spot.marker, Text(value)) &&
           Set(spot.marker, value.begin, value.end - value.begin);
  }

  bool Mark(const OnLines& spot) {
    size_t from = 0, to = lines_.size();  // the lines the markers' lines stand among
    if (!spot.after.empty()) {
      const std::optional<size_t> after = LinesHolding(spot.after);
      if (!after)
        return false;
      from = *after + spot.after.size();
      if (spot.before.empty())
        to = std::min(from + BlankRun(from, 1) + spot.markers.size(), lines_.size());
    }
    if (!spot.before.empty()) {
      const std::optional<size_t> before = LinesHolding({spot.before});
      if (!before || *before < from)
        return false;
      to = *before;
      if (spot.after.empty())
        from = std::max(to - BlankRun(to, -1), spot.markers.size()) - spot.markers.size();
    }
    std::vector<size_t> windows;
    for (size_t first = from; first + spot.markers.size() <= to; ++first) {
      if (WindowHolds(first, spot.markers))
        windows.push_back(first);
    }
    // Lines are put in only where none of the spot's lines stands already: one of them broken
    // away from the others is the user's edit, not a place to write them a second time.
    if (windows.empty())
      return !spot.after.empty() && !HoldsAValue(from, to, spot.markers) &&
             InsertLines(from, spot.markers);
    // Blank lines of the user's beside the markers' lines read as places for them too: the one
    // place that holds more than blank lines is theirs, and where every place is blank (as
    // Standard writes them) the first is as good as any.
    std::vector<size_t> filled;
    std::copy_if(windows.begin(), windows.end(), std::back_inserter(filled),
                 [&](size_t first) { return !IsBlankLine(first); });
    if (filled.size() > 1)
      return false;
    const size_t window = filled.empty() ? windows.front() : filled.front();
    for (size_t i = 0; i < spot.markers.size(); ++i) {
      const Line& line = lines_[window + i];
      Set(spot.markers[i], line.first, line.last - line.first);
    }
    return true;
  }

  std::optional<MarkedFile> Result() && {
    std::sort(edits_.begin(), edits_.end(),
              [](const Edit& a, const Edit& b) { return a.at < b.at; });
    MarkedFile marked;
    size_t done = 0;
    for (const Edit& edit : edits_) {
      if (edit.at < done)
        return std::nullopt;  // two spots claim the same bytes
      marked.text.append(text_.substr(done, edit.at - done)).append(edit.text);
      done = edit.at + edit.length;
    }
    marked.text.append(text_.substr(done));
    for (const auto& [marker, value] : values_) {
      for (const auto& [other, other_value] : values_) {
        if (marker == other && value != other_value)
          return std::nullopt;
      }
    }
    marked.values = std::move(values_);
    return marked;
  }

 private:
  struct Edit {
    size_t at, length;
    std::string text;
  };

  std::string_view Text(Range range) const {
    return text_.substr(range.begin, range.end - range.begin);
  }

  bool Known(std::string_view marker, std::string_view value) const {
    const std::vector<std::string_view> values = KnownValues(table_, marker);
    return std::find(values.begin(), values.end(), value) != values.end();
  }

  // What must follow a spot: the given text, or the tag's end or the line's end.
  bool SpotEndsAt(size_t at, std::string_view until) const {
    if (!until.empty())
      return text_.compare(at, until.size(), until) == 0;
    return at < text_.size() &&
           (text_[at] == '>' || text_[at] == '/' || text_[at] == '\r' || text_[at] == '\n');
  }

  // Whether the tag, outside the spot, has an attribute that a value of the marker sets (the
  // user may have put one on a line of its own): writing the value would set it twice.
  bool HasAnAttributeOf(Range tag, Range spot, std::string_view marker) const {
    for (std::string_view value : KnownValues(table_, marker)) {
      for (size_t is = value.find('='); is != npos; is = value.find('=', is + 1)) {
        const size_t name = value.rfind(' ', is) + 1;  // a value's attributes follow blanks
        for (size_t at : FindFragment(text_, value.substr(name, is - name), tag)) {
          const size_t after = text_.find_first_not_of(" \t\r\n", at + is - name);
          if ((at < spot.begin || at >= spot.end) && after < tag.end && text_[after] == '=')
            return true;
        }
      }
    }
    return false;
  }

  bool Set(std::string_view marker, size_t at, size_t length) {
    edits_.push_back({at, length, MarkerText(marker)});
    values_.emplace_back(marker, std::string(text_.substr(at, length)));
    return true;
  }

  bool Holds(size_t line, std::string_view fragment) const {
    return !FindFragment(text_, fragment, {lines_[line].begin, lines_[line].next}).empty();
  }

  // The one place where consecutive lines hold the fragments, each in turn.
  std::optional<size_t> LinesHolding(const std::vector<std::string_view>& fragments) const {
    std::optional<size_t> found;
    for (size_t first = 0; first + fragments.size() <= lines_.size(); ++first) {
      bool all = true;
      for (size_t i = 0; i < fragments.size() && all; ++i)
        all = Holds(first + i, fragments[i]);
      if (!all)
        continue;
      if (found)
        return std::nullopt;
      found = first;
    }
    return found;
  }

  // A spot's markers are blank together or filled together in every state: lines that mix the
  // two are no place for them, but a blank line of the user's among their lines.
  bool WindowHolds(size_t first, const std::vector<std::string_view>& markers) const {
    for (size_t i = 0; i < markers.size(); ++i) {
      const Line& line = lines_[first + i];
      if (!Known(markers[i], Text({line.first, line.last})) ||
          IsBlankLine(first + i) != IsBlankLine(first))
        return false;
    }
    return true;
  }

  bool IsBlankLine(size_t line) const { return lines_[line].first == lines_[line].last; }

  // Whether a line from first up to last holds one of the markers' values, but "".
  bool HoldsAValue(size_t first, size_t last, const std::vector<std::string_view>& markers) const {
    for (size_t i = first; i < last; ++i) {
      for (std::string_view marker : markers) {
        if (!IsBlankLine(i) && Known(marker, Text({lines_[i].first, lines_[i].last})))
          return true;
      }
    }
    return false;
  }

  // How many blank lines stand next to line at: from it on (step 1), or before it (step -1).
  // Blank lines of the user's may push a spot's line away from the line it follows or precedes.
  size_t BlankRun(size_t at, int step) const {
    size_t n = 0;
    while (step > 0 ? at + n < lines_.size() && IsBlankLine(at + n)
                    : n < at && IsBlankLine(at - n - 1)) {
      ++n;
    }
    return n;
  }

  // Lines for markers that ICQ's own file leaves out, since their Standard value is "": put in
  // before the line at, indented as it is.
  bool InsertLines(size_t at, const std::vector<std::string_view>& markers) {
    if (at == 0 || at >= lines_.size())
      return false;
    const Line& line = lines_[at];
    const std::string_view indent = Text({line.begin, line.first});
    const std::string_view end = text_.substr(0, line.begin).ends_with("\r\n") ? "\r\n" : "\n";
    Edit edit{line.begin, 0, {}};
    for (std::string_view marker : markers) {
      if (!ValueFor(table_, marker, TweakOptions(TweakMode::Standard)).empty())
        return false;
      edit.text.append(indent).append(MarkerText(marker)).append(end);
      values_.emplace_back(marker, "");
    }
    edits_.push_back(std::move(edit));
    return true;
  }

  const GeneratorTable& table_;
  std::string_view text_;
  std::vector<Line> lines_;
  std::vector<Edit> edits_;
  std::vector<std::pair<std::string_view, std::string>> values_;
};

}  // namespace

namespace {

// A marker's text that the user's file holds already would be filled along with Kelvane's.
bool HoldsMarkerText(const GeneratorTable& table, std::string_view file) {
  const auto holds = [&](const std::string& name) { return file.find(MarkerText(name)) != npos; };
  for (const StandardValue& v : table.standard) {
    if (holds(std::string(v.marker)))
      return true;
  }
  for (size_t i = 0; i < table.fillers.size(); ++i) {
    if (holds(FillerName(i)))
      return true;
  }
  return false;
}

}  // namespace

std::optional<MarkedFile> MarkFile(const GeneratorTable& table, std::string_view file) {
  // ICQ's file ends with its last element or line; whatever stood after it would be written
  // over with the blanks a run puts there.
  const size_t anchor = file.rfind(table.anchor);
  if (anchor == npos || file.find_first_not_of(" \t\r\n", anchor + table.anchor.size()) != npos ||
      HoldsMarkerText(table, file)) {
    return std::nullopt;
  }
  Marking marking(table, file);
  for (const Spot& spot : table.spots) {
    if (!std::visit([&](const auto& where) { return marking.Mark(where); }, spot))
      return std::nullopt;
  }
  return std::move(marking).Result();
}

}  // namespace kelvane
