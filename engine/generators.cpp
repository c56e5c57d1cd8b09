#include "engine/generators.h"

#include <algorithm>
#include <map>

namespace kelvane {

std::string MarkerText(std::string_view name) {
  return "###" + std::string(name) + "###";
}

std::string FillerName(size_t index) {
  return "Senseless" + std::to_string(index + 1);
}

namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty())
    return;
  std::string out;
  size_t start = 0;
  for (size_t hit = text.find(from); hit != std::string::npos; hit = text.find(from, start)) {
    out.append(text, start, hit - start).append(to);
    start = hit + from.size();
  }
  if (start == 0)
    return;
  out.append(text, start, std::string::npos);
  text = std::move(out);
}

// Whatever follows the last anchor becomes spaces: the length stays, and a file ends in spaces
// where the template had line ends, byte for byte as Kelvane has always written it. The same
// tail earlier in the user's own file stays theirs.
void NormaliseEnd(std::string& text, std::string_view anchor) {
  const size_t last = text.rfind(anchor);
  if (last != std::string::npos)
    std::fill(text.begin() + last + anchor.size(), text.end(), ' ');
}

bool SameValues(const GeneratorTable& table, const TweakOptions& a, const TweakOptions& b) {
  for (const StandardValue& v : table.standard) {
    if (ValueFor(table, v.marker, a) != ValueFor(table, v.marker, b))
      return false;
  }
  return true;
}

}  // namespace

std::string_view ValueFor(const GeneratorTable& table,
                          std::string_view marker,
                          const TweakOptions& options) {
  for (const CustomValue& v : table.custom) {
    if (options.custom() && v.marker == marker && v.when(options))
      return v.value;
  }
  for (const StandardValue& v : table.standard) {
    if (v.marker == marker)
      return v.value;
  }
  return {};
}

std::vector<std::string_view> KnownValues(const GeneratorTable& table, std::string_view marker) {
  std::vector<std::string_view> values;
  for (const CustomValue& v : table.custom) {
    if (v.marker == marker)
      values.push_back(v.value);
  }
  for (const StandardValue& v : table.standard) {
    if (v.marker == marker)
      values.push_back(v.value);
  }
  return values;
}

// A value never holds a marker, so each marker's value can be set in on its own.
std::string FillTemplate(const GeneratorTable& table,
                         std::string text,
                         const TweakOptions& options) {
  for (const StandardValue& v : table.standard)
    ReplaceAll(text, MarkerText(v.marker), ValueFor(table, v.marker, options));
  for (size_t i = 0; i < table.fillers.size(); ++i) {
    ReplaceAll(text, MarkerText(FillerName(i)), table.fillers[i]);
  }
  NormaliseEnd(text, table.anchor);
  return text;
}

TweakOptions CustomState(unsigned bits, const OptionFlagSet& chosen) {
  TweakOptions o;
  for (size_t i = 0, bit = 0; i < kOptionFlags.size(); ++i)
    o.*kOptionFlags[i].flag = chosen[i] && (bits & (1u << bit++));
  return o;
}

const OptionFlagSet& FlagsShown(const GeneratorTable& table) {
  static std::map<const GeneratorTable*, OptionFlagSet> known;
  auto [at, added] = known.try_emplace(&table);
  OptionFlagSet all;
  all.fill(true);
  for (unsigned bits = 0; added && bits < (1u << kOptionFlags.size()); ++bits) {
    const TweakOptions state = CustomState(bits, all);
    for (size_t i = 0; i < kOptionFlags.size(); ++i) {
      TweakOptions other = state;
      other.*kOptionFlags[i].flag = !(state.*kOptionFlags[i].flag);
      at->second[i] = at->second[i] || !SameValues(table, state, other);
    }
  }
  return at->second;
}

bool IsFilledTemplate(const GeneratorTable& table,
                      const std::string& text,
                      std::string_view bytes) {
  if (FillTemplate(table, text, TweakOptions(TweakMode::Standard)) == bytes)
    return true;
  const OptionFlagSet& shown = FlagsShown(table);
  const unsigned states = 1u << std::count(shown.begin(), shown.end(), true);
  for (unsigned bits = 0; bits < states; ++bits) {
    if (FillTemplate(table, text, CustomState(bits, shown)) == bytes)
      return true;
  }
  return false;
}

void Generator::operator()(const std::string& path,
                           const std::string& template_text,
                           RunContext& run) const {
  // Hidden, system and read-only go, so that ICQ finds a plain file.
  run.fs.SetNormalAttributes(path);
  // A file that holds its bytes already needs no write, which a running ICQ might refuse.
  const std::string text = FillTemplate(table_, template_text, run.options);
  if (run.fs.ReadFile(path) != text && !run.fs.WriteFile(path, text))
    run.status.Raise(Failure::WriteFailed, path);
}

}  // namespace kelvane
