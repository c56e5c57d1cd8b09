#include "protect/name_search.h"

#include <algorithm>
#include <bit>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kelvane {
namespace {

// ASCII only: other bytes must never match one of the names' letters.
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Checks every place from at on, one by one.
void FindFrom(std::string_view text,
              size_t at,
              const std::vector<std::string_view>& names,
              std::vector<size_t>& found) {
  for (; at < text.size(); ++at) {
    for (std::string_view name : names) {
      if (NamedAt(text, at, name))
        found.push_back(at);
    }
  }
}

}  // namespace

bool NamedAt(std::string_view text, size_t at, std::string_view name) {
  if (text.size() - at < name.size())
    return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (Lower(text[at + i]) != name[i])
      return false;
  }
  return true;
}

std::vector<size_t> FindNames(std::string_view text, const std::vector<std::string_view>& names) {
  std::vector<size_t> found;
  size_t at = 0;
#ifdef __SSE2__
  // Sixteen places at a time, keyed on each name's second and third letters: countless host
  // names begin with "a" or "ad" as ICQ's ad servers do. Setting bit 0x20 folds a capital to
  // its small letter and never turns another byte into one of the names' letters.
  const __m128i fold = _mm_set1_epi8(0x20);
  const auto folded = [&](size_t from) {
    return _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + from)),
                        fold);
  };
  for (; at + 18 <= text.size(); at += 16) {
    const __m128i second = folded(at + 1), third = folded(at + 2);
    for (std::string_view name : names) {
      const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(second, _mm_set1_epi8(name[1])),
                                         _mm_cmpeq_epi8(third, _mm_set1_epi8(name[2])));
      for (unsigned mask = _mm_movemask_epi8(both); mask != 0; mask &= mask - 1) {
        const size_t hit = at + std::countr_zero(mask);
        if (NamedAt(text, hit, name))
          found.push_back(hit);
      }
    }
  }
#endif
  FindFrom(text, at, names, found);
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace kelvane
