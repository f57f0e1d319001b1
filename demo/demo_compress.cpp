#include "demo/demo_compress.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>

namespace {

constexpr std::size_t kMaxRun = 0x3F;
// Copies name their source with a 16-bit position.
constexpr std::size_t kMaxSource = 0xFFFF;
// How far back the encoder looks for a copy source.
constexpr std::size_t kWindow = 4096;

std::array<std::pair<unsigned char, unsigned char>, 64> BuildDictionary(const std::vector<unsigned char>& raw) {
  std::vector<int> counts(65536, 0);
  for (std::size_t i = 0; i + 1 < raw.size(); i += 2) ++counts[raw[i] << 8 | raw[i + 1]];
  std::vector<int> order(65536);
  for (int i = 0; i < 65536; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return counts[a] > counts[b]; });
  std::array<std::pair<unsigned char, unsigned char>, 64> dict{};
  for (int k = 0; k < 64; ++k)
    dict[k] = {static_cast<unsigned char>(order[k] >> 8), static_cast<unsigned char>(order[k])};
  return dict;
}

}  // namespace

std::vector<unsigned char> DemoCompress(const std::vector<unsigned char>& raw, DemoCompressionStats* stats) {
  DemoCompressionStats local;
  DemoCompressionStats& st = stats ? *stats : local;
  const auto dict = BuildDictionary(raw);
  std::vector<unsigned char> out;
  for (const auto& [a, b] : dict) {
    out.push_back(a);
    out.push_back(b);
  }
  std::vector<unsigned char> literal;
  auto flush = [&] {
    for (std::size_t at = 0; at < literal.size(); at += kMaxRun) {
      const std::size_t n = std::min(kMaxRun, literal.size() - at);
      out.push_back(static_cast<unsigned char>(n));
      out.insert(out.end(), literal.begin() + at, literal.begin() + at + n);
      ++st.literals;
    }
    literal.clear();
  };
  std::size_t i = 0;
  while (i < raw.size()) {
    std::size_t run = 1;
    while (i + run < raw.size() && run < kMaxRun && raw[i + run] == raw[i]) ++run;
    std::size_t bestLen = 0, bestSrc = 0;
    const std::size_t from = i > kWindow ? i - kWindow : 0;
    for (std::size_t s = from; s < i && s <= kMaxSource; ++s) {
      std::size_t len = 0;
      // The source may run into the bytes being produced: raw[s + len] is then already output.
      while (i + len < raw.size() && len < kMaxRun && raw[s + len] == raw[i + len]) ++len;
      if (len > bestLen) bestLen = len, bestSrc = s;
    }
    int pair = -1;
    for (int k = 0; k < 64 && i + 1 < raw.size(); ++k) {
      if (dict[k].first == raw[i] && dict[k].second == raw[i + 1]) pair = k;
    }
    if (run >= 3 && run >= bestLen) {
      flush();
      out.push_back(static_cast<unsigned char>(0x40 | run));
      out.push_back(raw[i]);
      ++st.fills;
      i += run;
    } else if (bestLen >= 4) {
      flush();
      out.push_back(static_cast<unsigned char>(0x80 | bestLen));
      out.push_back(static_cast<unsigned char>(bestSrc));
      out.push_back(static_cast<unsigned char>(bestSrc >> 8));
      ++st.copies;
      if (bestSrc + bestLen > i) ++st.overlapping;
      i += bestLen;
    } else if (pair >= 0) {
      flush();
      out.push_back(static_cast<unsigned char>(0xC0 | pair));
      ++st.dictionary;
      i += 2;
    } else {
      literal.push_back(raw[i]);
      ++i;
    }
  }
  flush();
  out.push_back(0);
  return out;
}
