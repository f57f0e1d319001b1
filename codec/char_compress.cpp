// The encoder: an exact shortest parse for a given dictionary, run for a few
// dictionaries chosen from the data; the shortest block wins.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <numeric>
#include <utility>

#include "codec/char_codec.h"

namespace {

// Copies name their source with a 16-bit position.
constexpr std::size_t kMaxSource = 0xFFFF;
constexpr int kPairs = 65536;

enum class Form : std::uint8_t { Literal, Fill, Copy, Pair };

// One step of a parse: a control form covering `len` bytes of the input.
struct Step {
  Form form = Form::Literal;
  std::uint8_t len = 0;
};

unsigned PairAt(const std::vector<unsigned char>& raw, std::size_t i) { return raw[i] << 8 | raw[i + 1]; }

// The distinct byte pairs of the input, numbered in increasing order of their
// value (first << 8 | second), and the number of the pair at each position.
struct Pairs {
  std::vector<std::uint16_t> value;  // pair number -> value
  std::vector<std::uint32_t> at;     // position i (with i + 1 inside the input) -> pair number
};

Pairs NumberPairs(const std::vector<unsigned char>& raw) {
  Pairs pairs;
  std::vector<std::int32_t> number(kPairs, -1);
  for (std::size_t i = 0; i + 1 < raw.size(); ++i) number[PairAt(raw, i)] = 0;
  for (int v = 0; v < kPairs; ++v)
    if (number[v] == 0) {
      number[v] = static_cast<std::int32_t>(pairs.value.size());
      pairs.value.push_back(static_cast<std::uint16_t>(v));
    }
  for (std::size_t i = 0; i + 1 < raw.size(); ++i) pairs.at.push_back(static_cast<std::uint32_t>(number[PairAt(raw, i)]));
  return pairs;
}

// The pair numbers of a dictionary (at most 64; its other slots hold pairs the input lacks).
using Selection = std::vector<std::uint32_t>;

// What the parse needs of the input, whatever the dictionary: the length of the
// run of equal bytes and the longest copy available at each position, with its source.
struct Matches {
  std::vector<std::uint8_t> run;   // equal bytes from i on, at most kCharMaxCount
  std::vector<std::uint8_t> copy;  // longest copy from an earlier source, at most kCharMaxCount
  std::vector<std::uint32_t> source;
};

// Bytes equal from positions a and b on (b past a, reading on into what b itself
// produced), at most kCharMaxCount.
std::size_t CommonLength(const std::vector<unsigned char>& raw, std::size_t a, std::size_t b) {
  const std::size_t limit = std::min(kCharMaxCount, raw.size() - b);
  std::size_t n = 0;
  while (n < limit && raw[a + n] == raw[b + n]) ++n;
  return n;
}

// Positions ordered by the first 64 bytes from each (shorter where the data
// ends), ties by position: prefix doubling, each round a stable counting sort
// by the rank of the second half and then by the rank of the first.
std::vector<std::uint32_t> OrderByPrefix(const std::vector<unsigned char>& raw) {
  const std::size_t n = raw.size();
  std::vector<std::uint32_t> order(n), by_second(n), rank(n), next(n), count;
  std::iota(order.begin(), order.end(), 0u);
  std::array<bool, 256> seen{};
  for (std::size_t i = 0; i < n; ++i) rank[i] = raw[i], seen[raw[i]] = true;
  std::size_t ranks = 256;  // keys lie below this
  std::size_t distinct = static_cast<std::size_t>(std::count(seen.begin(), seen.end(), true));
  // Stable counting sort of `from` by key into `to`; keys lie in [0, ranks].
  const auto sort_by = [&](const std::vector<std::uint32_t>& from, std::vector<std::uint32_t>& to, auto key) {
    count.assign(ranks + 2, 0);
    for (std::uint32_t i : from) ++count[key(i) + 1];
    for (std::size_t k = 1; k < count.size(); ++k) count[k] += count[k - 1];
    for (std::uint32_t i : from) to[count[key(i)]++] = i;
  };
  for (std::size_t h = 1; h < 64 && distinct < n; h *= 2) {
    // The second half's rank is 0 past the end of the data, else its rank + 1.
    const auto second = [&](std::uint32_t i) { return i + h < n ? rank[i + h] + 1 : 0u; };
    sort_by(order, by_second, second);
    sort_by(by_second, order, [&](std::uint32_t i) { return rank[i]; });
    std::uint32_t r = 0;
    for (std::size_t k = 0; k < n; ++k) {
      const std::uint32_t i = order[k], prev = k > 0 ? order[k - 1] : 0;
      if (k > 0 && (rank[i] != rank[prev] || second(i) != second(prev))) ++r;
      next[i] = r;
    }
    rank.swap(next);
    ranks = distinct = r + 1;
  }
  // Equal beginnings in position order.
  std::vector<std::uint32_t> positions(n);
  std::iota(positions.begin(), positions.end(), 0u);
  sort_by(positions, order, [&](std::uint32_t i) { return rank[i]; });
  return order;
}

// The longest copy at every position. Ordered by their first bytes, the
// sources a position may use (earlier, and addressable by 16 bits) share the
// longest beginning with it at the nearest one on either side, so two
// comparisons per position suffice.
Matches FindMatches(const std::vector<unsigned char>& raw) {
  const std::size_t n = raw.size();
  Matches m;
  m.run.assign(n, 0);
  m.copy.assign(n, 0);
  m.source.assign(n, 0);
  for (std::size_t i = n; i-- > 0;)
    m.run[i] = static_cast<std::uint8_t>(
        i + 1 < n && raw[i + 1] == raw[i] ? std::min<std::size_t>(m.run[i + 1] + 1, kCharMaxCount) : 1);
  const std::vector<std::uint32_t> order = OrderByPrefix(raw);
  const auto consider = [&](std::size_t i, std::uint32_t s) {
    const std::size_t len = CommonLength(raw, s, i);
    if (len > m.copy[i]) m.copy[i] = static_cast<std::uint8_t>(len), m.source[i] = s;
  };
  // Nearest earlier position on each side: a stack of ranks whose positions rise.
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<std::uint32_t> stack;
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t r = pass == 0 ? k : n - 1 - k;
      const std::uint32_t i = order[r];
      while (!stack.empty() && stack.back() > i) stack.pop_back();
      if (!stack.empty() && i <= kMaxSource + 1) consider(i, stack.back());
      stack.push_back(i);
    }
  }
  // Past the addressable sources every one of them is earlier: the nearest
  // addressable rank on each side.
  if (n > kMaxSource + 1) {
    for (int pass = 0; pass < 2; ++pass) {
      long long last = -1;
      for (std::size_t k = 0; k < n; ++k) {
        const std::size_t r = pass == 0 ? k : n - 1 - k;
        const std::uint32_t i = order[r];
        if (i <= kMaxSource) {
          last = i;
        } else if (last >= 0) {
          consider(i, static_cast<std::uint32_t>(last));
        }
      }
    }
  }
  return m;
}

// A parse: its steps and the size of the block they make, in bytes.
struct Parse {
  std::vector<Step> steps;
  std::size_t bytes = 0;
};

// The position of the smallest v[j] (the first of equals) for j in [from,
// from + len), len at most 63, over a vector filled from its back: each level t
// holds the answer for the 2^t entries from j on. Every entry is written before
// it is read, so the tables serve one fill after another without clearing.
class WindowMinimum {
 public:
  explicit WindowMinimum(const std::vector<std::uint32_t>& v) : v_(v) {
    for (auto& level : at_) level.resize(v.size());
  }
  // Takes in v[j] once every entry after j is final.
  void Add(std::size_t j) {
    at_[0][j] = static_cast<std::uint32_t>(j);
    for (std::size_t t = 1, half = 1; t < at_.size() && j + 2 * half <= v_.size(); ++t, half *= 2)
      at_[t][j] = Better(at_[t - 1][j], at_[t - 1][j + half]);
  }
  std::uint32_t ArgMin(std::size_t from, std::size_t len) const {
    const std::size_t t = static_cast<std::size_t>(std::bit_width(len) - 1);
    return Better(at_[t][from], at_[t][from + len - (std::size_t{1} << t)]);
  }

 private:
  std::uint32_t Better(std::uint32_t a, std::uint32_t b) const { return v_[b] < v_[a] ? b : a; }
  const std::vector<std::uint32_t>& v_;
  std::array<std::vector<std::uint32_t>, 6> at_;
};

// Shortest parses of one input for one dictionary after another.
class ShortestParser {
 public:
  ShortestParser(const std::vector<unsigned char>& raw, const Matches& m, const Pairs& pairs)
      : raw_(raw), m_(m), pairs_(pairs), cost_(raw.size() + 1), reach_(raw.size() + 1), choice_(raw.size()), cheapest_(cost_),
        literal_(reach_) {}

  // The shortest parse when the pair numbers `inDictionary` marks (every pair when
  // `everyPair`) cost one byte. Each position takes the cheapest of every form
  // and count the decompressor accepts there, given the cheapest parse of the
  // rest, so the whole parse is the shortest one.
  Parse Run(const std::vector<bool>& inDictionary, bool everyPair) {
    const std::size_t n = raw_.size();
    // cost_[j]: bytes of the shortest parse from j on; reach_[j] = cost_[j] + j
    // prices a literal run ending at j.
    cost_[n] = 0;
    reach_[n] = static_cast<std::uint32_t>(n);
    cheapest_.Add(n);
    literal_.Add(n);
    for (std::size_t i = n; i-- > 0;) {
      std::uint32_t best = UINT32_MAX;
      Step pick;
      const auto offer = [&](Form form, std::size_t len, std::uint32_t c) {
        if (c < best) best = c, pick = Step{form, static_cast<std::uint8_t>(len)};
      };
      if (i + 1 < n && (everyPair || inDictionary[pairs_.at[i]])) offer(Form::Pair, 2, 1 + cost_[i + 2]);
      std::uint32_t j = cheapest_.ArgMin(i + 1, m_.run[i]);
      offer(Form::Fill, j - i, 2 + cost_[j]);
      if (m_.copy[i] > 0) {
        j = cheapest_.ArgMin(i + 1, m_.copy[i]);
        offer(Form::Copy, j - i, 3 + cost_[j]);
      }
      j = literal_.ArgMin(i + 1, std::min(kCharMaxCount, n - i));
      offer(Form::Literal, j - i, static_cast<std::uint32_t>(1 + reach_[j] - i));
      cost_[i] = best;
      reach_[i] = best + static_cast<std::uint32_t>(i);
      choice_[i] = pick;
      cheapest_.Add(i);
      literal_.Add(i);
    }
    Parse p;
    for (std::size_t i = 0; i < n; i += choice_[i].len) p.steps.push_back(choice_[i]);
    p.bytes = kCharDictionaryBytes + cost_[0] + 1;
    return p;
  }

 private:
  const std::vector<unsigned char>& raw_;
  const Matches& m_;
  const Pairs& pairs_;
  std::vector<std::uint32_t> cost_, reach_;
  std::vector<Step> choice_;
  WindowMinimum cheapest_, literal_;
};

// How often each pair is used by the pair steps of a parse.
std::vector<int> PairUses(const Pairs& pairs, const Parse& p) {
  std::vector<int> uses(pairs.value.size(), 0);
  std::size_t i = 0;
  for (const Step& s : p.steps) {
    if (s.form == Form::Pair) ++uses[pairs.at[i]];
    i += s.len;
  }
  return uses;
}

// The (at most 64) pairs counted most often, never one not counted; ties: the
// smaller pair first.
Selection MostCounted(const std::vector<int>& counts) {
  Selection order;
  for (std::uint32_t k = 0; k < counts.size(); ++k)
    if (counts[k] > 0) order.push_back(k);
  const auto more = [&](std::uint32_t a, std::uint32_t b) { return counts[a] != counts[b] ? counts[a] > counts[b] : a < b; };
  const std::size_t keep = std::min(order.size(), kCharDictionaryPairs);
  std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(keep), order.end(), more);
  order.resize(keep);
  return order;
}

std::vector<bool> Marks(const Selection& d, std::size_t pairs) {
  std::vector<bool> marks(pairs, false);
  for (std::uint32_t k : d) marks[k] = true;
  return marks;
}

// Counts of the pairs at every `step`-th position.
std::vector<int> PairCounts(const Pairs& pairs, std::size_t step) {
  std::vector<int> counts(pairs.value.size(), 0);
  for (std::size_t i = 0; i < pairs.at.size(); i += step) ++counts[pairs.at[i]];
  return counts;
}

// The 64 dictionary values: the selected pairs in their order, then the
// smallest values the selection lacks, so the dictionary is always whole.
std::array<std::uint16_t, kCharDictionaryPairs> DictionaryOf(const Selection& d, const Pairs& pairs) {
  std::array<std::uint16_t, kCharDictionaryPairs> values{};
  std::vector<std::uint16_t> chosen;
  for (std::size_t k = 0; k < d.size(); ++k) chosen.push_back(values[k] = pairs.value[d[k]]);
  std::sort(chosen.begin(), chosen.end());
  std::uint32_t filler = 0;
  for (std::size_t k = d.size(); k < kCharDictionaryPairs; ++k, ++filler) {
    while (std::binary_search(chosen.begin(), chosen.end(), static_cast<std::uint16_t>(filler))) ++filler;
    values[k] = static_cast<std::uint16_t>(filler);
  }
  return values;
}

std::vector<unsigned char> Emit(const std::vector<unsigned char>& raw, const Selection& d, const Pairs& pairs,
                                const Parse& p, const Matches& m, CharCompressionStats& st) {
  std::vector<unsigned char> out;
  out.reserve(p.bytes);
  std::vector<int> slot(pairs.value.size(), -1);
  for (std::size_t k = 0; k < d.size(); ++k) slot[d[k]] = static_cast<int>(k);
  for (std::uint16_t pair : DictionaryOf(d, pairs)) {
    out.push_back(static_cast<unsigned char>(pair >> 8));
    out.push_back(static_cast<unsigned char>(pair));
  }
  std::size_t i = 0;
  for (const Step& s : p.steps) {
    switch (s.form) {
      case Form::Literal:
        out.push_back(s.len);
        out.insert(out.end(), raw.begin() + i, raw.begin() + i + s.len);
        ++st.literals;
        break;
      case Form::Fill:
        out.push_back(static_cast<unsigned char>(0x40 | s.len));
        out.push_back(raw[i]);
        ++st.fills;
        break;
      case Form::Copy:
        out.push_back(static_cast<unsigned char>(0x80 | s.len));
        out.push_back(static_cast<unsigned char>(m.source[i]));
        out.push_back(static_cast<unsigned char>(m.source[i] >> 8));
        ++st.copies;
        if (m.source[i] + s.len > i) ++st.overlapping;
        break;
      case Form::Pair:
        out.push_back(static_cast<unsigned char>(0xC0 | slot[pairs.at[i]]));
        ++st.dictionary;
        break;
    }
    i += s.len;
  }
  out.push_back(0);
  return out;
}

}  // namespace

std::vector<unsigned char> QBR1_CompressCharacters(const std::vector<unsigned char>& raw, CharCompressionStats* stats) {
  CharCompressionStats local;
  CharCompressionStats& st = stats ? *stats : local;
  st = {};
  if (raw.size() > kCharMaxRaw) return {};
  const Matches m = FindMatches(raw);
  const Pairs pairs = NumberPairs(raw);
  const std::size_t count = pairs.value.size();
  ShortestParser parser(raw, m, pairs);
  Selection best;
  Parse bestParse;
  bestParse.bytes = SIZE_MAX;
  const auto tryDictionary = [&](const Selection& d) {
    Parse p = parser.Run(Marks(d, count), false);
    if (p.bytes < bestParse.bytes) best = d, bestParse = std::move(p);
  };
  // The pairs of whole rows (characters are made of byte pairs: the two bit
  // planes of one row), the pairs anywhere, and the pairs a parse free to use
  // every pair at one byte would use most.
  tryDictionary(MostCounted(PairCounts(pairs, 2)));
  tryDictionary(MostCounted(PairCounts(pairs, 1)));
  const std::vector<int> ideal = PairUses(pairs, parser.Run({}, true));
  tryDictionary(MostCounted(ideal));
  // Then swap the pairs the best parse uses least for the ones the free parse
  // wanted and the dictionary lacks, while that makes the block shorter.
  for (int round = 0; round < 4; ++round) {
    const std::vector<int> used = PairUses(pairs, bestParse);
    const std::vector<bool> marks = Marks(best, count);
    std::vector<int> wanted(count, 0);
    for (std::size_t k = 0; k < count; ++k) wanted[k] = marks[k] ? used[k] : ideal[k] / 2;
    const std::size_t before = bestParse.bytes;
    tryDictionary(MostCounted(wanted));
    if (bestParse.bytes >= before) break;
  }
  return Emit(raw, best, pairs, bestParse, m, st);
}
