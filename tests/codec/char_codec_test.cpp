#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "codec/char_codec.h"
#include "demo/demo_art.h"
#include "demo/demo_image.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Decompress(const Bytes& block, CharBlockEnd* end = nullptr) {
  Bytes out;
  const CharBlockEnd e = QBR1_DecompressCharacters(block.data(), block.size(), out);
  if (end) *end = e;
  return out;
}

// Compresses raw and checks that the block decompresses to raw, ends at its
// end marker and holds nothing after it.
Bytes RoundTrip(const Bytes& raw, const std::string& what) {
  const Bytes block = QBR1_CompressCharacters(raw);
  CharBlockEnd end;
  const Bytes out = Decompress(block, &end);
  EXPECT_EQ(out, raw) << what << " (" << raw.size() << " bytes)";
  EXPECT_TRUE(end.complete) << what;
  EXPECT_EQ(end.length, block.size()) << what;
  return block;
}

Bytes Random(std::size_t n, std::uint32_t seed, unsigned alphabet = 256) {
  DemoRng rng(seed);
  Bytes b(n);
  for (unsigned char& x : b) x = static_cast<unsigned char>(rng.Next() % alphabet);
  return b;
}

Bytes Periodic(std::size_t n, std::size_t period, std::uint32_t seed) {
  const Bytes unit = Random(period, seed);
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = unit[i % period];
  return b;
}

// The planar bytes of demo characters picked at random until n bytes: a
// character set far larger than the demo's own, like a game archetype's.
Bytes CharacterSet(std::size_t n, std::uint32_t seed) {
  DemoRng rng(seed);
  const DemoCharSet cs = DemoMakeChars(rng);
  Bytes raw;
  while (raw.size() < n) {
    const DemoChar& c = cs.chars[rng.Below(static_cast<int>(cs.chars.size()))];
    for (int r = 0; r < 8; ++r)
      for (int p = 0; p < 4; ++p) {
        unsigned char b = 0;
        for (int x = 0; x < 8; ++x) b |= static_cast<unsigned char>(((c[8 * r + x] >> p) & 1) << (7 - x));
        raw.push_back(b);
      }
  }
  raw.resize(n);
  return raw;
}

// One control byte of a block as read: its form (0 literal, 1 fill, 2 copy, 3 pair), count and operand.
struct Control {
  int form;
  int n;
  unsigned operand;  // fill byte, copy source or pair number
  bool operator==(const Control&) const = default;
};

std::vector<Control> Controls(const Bytes& block) {
  std::vector<Control> list;
  for (std::size_t i = kCharDictionaryBytes; i < block.size() && block[i] != 0;) {
    const int form = block[i] >> 6, n = block[i] & 0x3F;
    ++i;
    unsigned operand = 0;
    if (form == 0) i += n;
    if (form == 1) operand = block[i++];
    if (form == 2) operand = block[i] | block[i + 1] << 8, i += 2;
    if (form == 3) operand = static_cast<unsigned>(n);
    list.push_back({form, n, operand});
  }
  return list;
}

// The shortest block any dictionary allows, found without the encoder's
// match finder: every source of every copy is tried byte by byte, and every
// pair may be used at one byte (as when the dictionary holds all of them).
std::size_t ShortestPossible(const Bytes& x) {
  const std::size_t n = x.size();
  std::vector<std::size_t> cost(n + 1, 0);
  for (std::size_t i = n; i-- > 0;) {
    std::size_t best = SIZE_MAX;
    const std::size_t most = std::min<std::size_t>(63, n - i);
    if (i + 1 < n) best = 1 + cost[i + 2];
    for (std::size_t len = 1; len <= most; ++len) {
      best = std::min(best, 1 + len + cost[i + len]);
      if (x[i + len - 1] == x[i] && std::all_of(x.begin() + i, x.begin() + i + len, [&](auto b) { return b == x[i]; }))
        best = std::min(best, 2 + cost[i + len]);
      for (std::size_t s = 0; s < i; ++s) {
        bool same = true;
        for (std::size_t k = 0; k < len && same; ++k) same = x[s + k] == x[i + k];
        if (same) {
          best = std::min(best, 3 + cost[i + len]);
          break;
        }
      }
    }
    cost[i] = best;
  }
  return kCharDictionaryBytes + cost[0] + 1;
}

TEST(CharCodecTest, RoundTripsEveryKindOfData) {
  std::vector<std::pair<std::string, Bytes>> inputs = {
      {"empty", {}}, {"one byte", {7}}, {"two bytes", {1, 2}}, {"zero bytes", Bytes(5000, 0)}};
  for (std::size_t n : {1u, 2u, 62u, 63u, 64u, 65u, 126u, 127u, 128u, 1000u, 5000u})
    inputs.push_back({"constant " + std::to_string(n), Bytes(n, 0xA5)});
  for (std::size_t period : {2u, 3u, 5u, 7u, 16u, 32u, 62u, 63u, 64u, 65u, 100u})
    inputs.push_back({"period " + std::to_string(period), Periodic(3000, period, static_cast<std::uint32_t>(period))});
  for (std::uint32_t seed = 1; seed <= 6; ++seed) {
    inputs.push_back({"random", Random(200 * seed, seed)});
    inputs.push_back({"random over 3 values", Random(700 * seed, seed, 3)});
  }
  Bytes pattern, noise;
  std::uint32_t x = 12345;
  for (int i = 0; i < 5000; ++i) {
    pattern.push_back(static_cast<unsigned char>((i % 7) * (i % 3)));
    x = x * 1103515245u + 12345u;
    noise.push_back(static_cast<unsigned char>(x >> 24));
  }
  inputs.push_back({"pattern", pattern});
  inputs.push_back({"noise", noise});
  inputs.push_back({"characters", CharacterSet(34000, 5)});
  for (std::uint32_t seed : {1u, 2u, 3u}) {
    const DemoImage img = BuildDemoImage(seed);
    for (const DemoArchetype& a : img.archetypes) inputs.push_back({"demo characters", a.characters});
  }
  for (const auto& [what, raw] : inputs) {
    const Bytes block = RoundTrip(raw, what);
    if (!raw.empty()) {
      EXPECT_LE(block.size(), kCharDictionaryBytes + 1 + raw.size() + (raw.size() + 62) / 63) << what;
    }
  }
}

TEST(CharCodecTest, SourcesPastTheSixteenBitsAreNotUsed) {
  // A unique run at 0xFFFF (addressable) and one at 0x10100 (not), each repeated later.
  Bytes raw(0x14000, 0);
  const Bytes a = Random(63, 11), b = Random(63, 12);
  std::copy(a.begin(), a.end(), raw.begin() + 0xFFFF);
  std::copy(b.begin(), b.end(), raw.begin() + 0x10100);
  std::copy(a.begin(), a.end(), raw.begin() + 0x12000);
  std::copy(b.begin(), b.end(), raw.begin() + 0x13000);
  const Bytes block = RoundTrip(raw, "past 64 KiB");
  const std::vector<Control> controls = Controls(block);
  EXPECT_NE(std::find(controls.begin(), controls.end(), Control{2, 63, 0xFFFF}), controls.end());
  for (const Control& c : controls)
    if (c.form == 2) {
      EXPECT_LE(c.operand, 0xFFFFu);
    }
  RoundTrip(Random(kCharMaxRaw, 3, 4), "the ceiling");
  EXPECT_TRUE(QBR1_CompressCharacters(Bytes(kCharMaxRaw + 1, 0)).empty());
}

TEST(CharCodecTest, ParseIsTheShortestPossible) {
  // Over at most eight values there are at most 64 pairs, so the dictionary
  // can hold every pair the data has and nothing beats the best parse.
  for (std::uint32_t seed = 1; seed <= 30; ++seed) {
    const unsigned alphabet = 2 + seed % 7;
    const Bytes raw = seed % 5 == 0 ? Periodic(120, 3 + seed % 11, seed) : Random(30 + seed * 3, seed, alphabet);
    const Bytes block = RoundTrip(raw, "small");
    EXPECT_EQ(block.size(), ShortestPossible(raw)) << "seed " << seed << ", " << raw.size() << " bytes";
  }
}

TEST(CharCodecTest, ControlFormsAtTheirLimits) {
  const auto twice = [](const Bytes& r) {
    Bytes b(2 * r.size());
    std::copy(r.begin(), r.end(), b.begin());
    std::copy(r.begin(), r.end(), b.begin() + static_cast<std::ptrdiff_t>(r.size()));
    return b;
  };
  const auto has = [](int form, int n) {
    return [=](const std::vector<Control>& cs) {
      return std::any_of(cs.begin(), cs.end(), [&](const Control& k) { return k.form == form && k.n == n; });
    };
  };
  struct Case {
    const char* what;
    Bytes raw;
    std::size_t size;                                      // of the whole block; 0: not checked
    std::function<bool(const std::vector<Control>&)> ok;  // what the controls must show
  };
  const Case cases[] = {
      {"nothing: dictionary and end marker", {}, 129, [](const auto& cs) { return cs.empty(); }},
      {"63 equal bytes: one fill of 63", Bytes(63, 9), 131,
       [](const auto& cs) { return cs == std::vector<Control>{{1, 63, 9}}; }},
      {"64 equal bytes: a fill and a pair", Bytes(64, 9), 132, has(1, 62)},
      {"126 equal bytes: two fills of 63", Bytes(126, 9), 133,
       [](const auto& cs) { return cs == std::vector<Control>{{1, 63, 9}, {1, 63, 9}}; }},
      {"a 200-byte repeat: copies of 63", twice(Random(200, 21)), 0, has(2, 63)},
      {"noise: literal runs of 63", Random(4000, 23), 0, has(0, 63)},
      {"many frequent pairs: the last dictionary slot", Random(6000, 24, 9), 0, has(3, 63)},
  };
  for (const Case& c : cases) {
    const Bytes block = RoundTrip(c.raw, c.what);
    const std::vector<Control> controls = Controls(block);
    EXPECT_TRUE(c.ok(controls)) << c.what;
    if (c.size) {
      EXPECT_EQ(block.size(), c.size) << c.what;
    }
    for (const Control& k : controls)
      if (k.form != 3) {
        EXPECT_GE(k.n, 1) << c.what << ": a control that appends nothing";
      }
  }
}

TEST(CharCodecTest, NeverLongerThanTheStoredStreamsOfTheDemoAndGeneratedImages) {
  for (std::uint32_t seed : {1u, 2u, 3u}) {
    const DemoImage img = BuildDemoImage(seed);
    for (const DemoArchetype& a : img.archetypes) {
      if ((a.archetype & 15) == 12) continue;  // stored plainly
      Bytes out;
      const CharBlockEnd stored =
          QBR1_DecompressCharacters(img.rom.data() + a.gfx, img.rom.size() - static_cast<std::size_t>(a.gfx), out);
      ASSERT_TRUE(stored.complete);
      ASSERT_EQ(out, a.characters);
      EXPECT_LE(QBR1_CompressCharacters(out).size(), stored.length) << "seed " << seed << " archetype " << a.archetype;
    }
  }
}

TEST(CharCodecTest, DecompressionReportsWhereTheBlockEnds) {
  Bytes block(kCharDictionaryBytes, 0);
  block.insert(block.end(), {0x02, 5, 6, 0x42, 7, 0, 0xEE});
  CharBlockEnd end;
  EXPECT_EQ(Decompress(block, &end), (Bytes{5, 6, 7, 7}));
  EXPECT_TRUE(end.complete);
  EXPECT_EQ(end.length, kCharDictionaryBytes + 6);
  block.resize(kCharDictionaryBytes + 4);  // cut inside the fill
  EXPECT_EQ(Decompress(block, &end), (Bytes{5, 6}));
  EXPECT_FALSE(end.complete);
  EXPECT_EQ(end.length, block.size());
  EXPECT_TRUE(Decompress(Bytes(100, 1), &end).empty());  // shorter than a dictionary
  EXPECT_FALSE(end.complete);
}

}  // namespace
