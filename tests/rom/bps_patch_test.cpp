// zlib's function shares its name with the file-access library's checksum type: renamed while zlib.h is
// read; the tests call crc32_z, an independent CRC-32 to check the patches' checksums against.
#define crc32 zlib_crc32_unused
#include <zlib.h>
#undef crc32

#include "rom/bps_patch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "rom/patch_apply.h"

namespace {

using namespace std::string_literals;
using Bytes = std::vector<unsigned char>;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::uint32_t ZlibCrc(const Bytes& b) { return static_cast<std::uint32_t>(crc32_z(0, b.data(), b.size())); }

void AppendLe32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

std::uint32_t Le32At(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// A patch written by hand: "BPS1", `body` (sizes, metadata, actions), the CRCs of `source` and of
// `target`, and the patch's own CRC.
Bytes Seal(const Bytes& body, const Bytes& source, const Bytes& target) {
  Bytes p = Text("BPS1");
  p.insert(p.end(), body.begin(), body.end());
  AppendLe32(p, ZlibCrc(source));
  AppendLe32(p, ZlibCrc(target));
  AppendLe32(p, ZlibCrc(p));
  return p;
}

Bytes Random(std::size_t n, unsigned seed) {
  Bytes b(n);
  std::mt19937 rng(seed);
  for (unsigned char& c : b) c = static_cast<unsigned char>(rng());
  return b;
}

// Every action of the published layout, with one-byte and two-byte numbers, metadata, both signs of a
// copy offset and a target copy that repeats the bytes it writes.
TEST(BpsPatch, ReadsEveryActionOfAHandWrittenPatch) {
  const Bytes source = Text("ABCDEFGH");
  const Bytes target = Text("ABxyzGHCDCDCDC");
  const Bytes body = {
      0x88, 0x8E, 0x81, 'm',  // source 8, target 14, one byte of metadata
      0x84,                   // SourceRead 2: "AB"
      0x89, 'x',  'y',  'z',  // TargetRead 3
      0x86, 0x8C,             // SourceCopy 2 from +6: "GH"
      0x86, 0x8D,             // SourceCopy 2 from -6 (cursor 8 -> 2): "CD"
      0x93, 0x8E,             // TargetCopy 5 from +7: "CDCDC", running into its own bytes
  };
  const Bytes patch = Seal(body, source, target);
  BpsHeader h;
  std::string error;
  ASSERT_TRUE(ReadBpsHeader(patch, h, error)) << error;
  EXPECT_EQ(h.source_size, 8u);
  EXPECT_EQ(h.target_size, 14u);
  EXPECT_EQ(h.metadata, "m");
  EXPECT_EQ(h.source_crc, ZlibCrc(source));
  Bytes out;
  ASSERT_TRUE(ApplyBpsPatch(patch, source, out, error)) << error;
  EXPECT_EQ(out, target);

  // A length of 200 takes two bytes: 199 << 2 | 1 = 797 = 0x1D + (0x05 + 1) * 128.
  Bytes long_read = {0x80, 0x48, 0x80, 0x80, 0x1D, 0x85};
  const Bytes run(200, 0x5C);
  long_read.insert(long_read.end(), run.begin(), run.end());
  ASSERT_TRUE(ApplyBpsPatch(Seal(long_read, {}, run), {}, out, error)) << error;
  EXPECT_EQ(out, run);
}

TEST(BpsPatch, WritesTheStandardHeaderAndChecksums) {
  const Bytes source(200, 0), target(300, 7);
  const Bytes patch = MakeBpsPatch(source, target);
  // 200 = 0x48 + (0x00 + 1) * 128; 300 = 0x2C + (0x01 + 1) * 128; no metadata.
  const Bytes head = {'B', 'P', 'S', '1', 0x48, 0x80, 0x2C, 0x81, 0x80};
  ASSERT_GT(patch.size(), head.size() + 12);
  EXPECT_TRUE(std::equal(head.begin(), head.end(), patch.begin()));
  const std::size_t footer = patch.size() - 12;
  EXPECT_EQ(Le32At(patch, footer), ZlibCrc(source));
  EXPECT_EQ(Le32At(patch, footer + 4), ZlibCrc(target));
  EXPECT_EQ(Le32At(patch, footer + 8), ZlibCrc(Bytes(patch.begin(), patch.end() - 4)));
  // A run of one value is one literal and one target copy of itself, not 300 bytes.
  EXPECT_LT(patch.size(), 40u);
}

// Each case edits a generated image; the patch must rebuild it exactly and cost no more than `budget`.
TEST(BpsPatch, RoundTripsEveryKindOfChange) {
  constexpr std::size_t kSize = 1 << 18;
  constexpr std::ptrdiff_t kBlock = 0x10000;
  struct Case {
    const char* name;
    std::function<Bytes(const Bytes&)> edit;
    std::size_t budget;
  };
  const Case cases[] = {
      {"unchanged", [](const Bytes& s) { return s; }, 32},
      {"scattered bytes",
       [](Bytes t) {
         for (std::size_t i = 7; i < t.size(); i += 4099) t[i] ^= 0xFF;
         return t;
       },
       64 * 8},
      {"moved 64 KiB block",
       [](const Bytes& s) {
         Bytes t = s;
         const auto rest = std::copy(s.begin() + 0x10000 + kBlock, s.begin() + 0x38000, t.begin() + 0x10000);
         std::copy(s.begin() + 0x10000, s.begin() + 0x10000 + kBlock, rest);
         return t;
       },
       1024},
      {"inserted run",
       [](Bytes t) {
         t.insert(t.begin() + 0x4000, 5000, 0xEE);
         return t;
       },
       64},
      {"block repeated within the result",
       [](Bytes t) {
         const Bytes fresh = Random(0x8000, 99);
         std::copy(fresh.begin(), fresh.end(), t.begin() + 0x1000);
         std::copy(fresh.begin(), fresh.end(), t.begin() + 0x30000);
         return t;
       },
       0x8000 + 256},
      {"shorter target",
       [](Bytes t) {
         t.resize(t.size() / 3);
         t[100] ^= 1;
         return t;
       },
       64},
      {"longer target",
       [](Bytes t) {
         const Bytes more = Random(3000, 5);
         t.insert(t.end(), more.begin(), more.end());
         return t;
       },
       3000 + 64},
      {"unrelated target", [](const Bytes&) { return Random(5000, 6); }, 5000 + 64},
      {"empty target", [](const Bytes&) { return Bytes{}; }, 32},
  };
  const Bytes source = Random(kSize, 1);
  for (const Case& c : cases) {
    const Bytes target = c.edit(source);
    const Bytes patch = MakeBpsPatch(source, target);
    Bytes out(3, 0xAB);
    std::string error;
    ASSERT_TRUE(ApplyBpsPatch(patch, source, out, error)) << c.name << ": " << error;
    EXPECT_TRUE(out == target) << c.name;
    EXPECT_LE(patch.size(), c.budget) << c.name;
  }
  // From nothing: every byte travels in the patch.
  const Bytes small = Random(700, 8);
  Bytes out;
  std::string error;
  ASSERT_TRUE(ApplyBpsPatch(MakeBpsPatch({}, small), {}, out, error)) << error;
  EXPECT_EQ(out, small);
}

// The three checksums are checked before anything is handed out, and each mismatch says which.
TEST(BpsPatch, ChecksumMismatchesAreRefusedByName) {
  const Bytes source = Random(4096, 2);
  Bytes target = source;
  for (std::size_t i = 0; i < target.size(); i += 300) target[i] ^= 0x5A;
  const Bytes patch = MakeBpsPatch(source, target);

  Bytes other = source;
  other[4000] ^= 1;
  Bytes longer = source;
  longer.push_back(0);
  Bytes flipped = patch;
  flipped[patch.size() / 2] ^= 0x10;
  Bytes crc_flipped = patch;
  crc_flipped[patch.size() - 1] ^= 0x01;
  // A patch that claims another result but whose own checksum is right.
  Bytes wrong_target(patch.begin(), patch.end() - 4);
  wrong_target[wrong_target.size() - 4] ^= 0xFF;
  AppendLe32(wrong_target, ZlibCrc(wrong_target));

  struct Case {
    const char* name;
    const Bytes& patch;
    const Bytes& source;
    std::string error;
  };
  const Case cases[] = {
      {"another image", patch, other, kBpsWrongSource},
      {"an image of another size", patch, longer, kBpsWrongSource},
      {"a flipped bit in the actions", flipped, source, kBpsDamaged},
      {"a flipped bit in the patch's checksum", crc_flipped, source, kBpsDamaged},
      {"another result", wrong_target, source, kBpsWrongResult},
  };
  for (const Case& c : cases) {
    Bytes out = {1, 2, 3};
    std::string error;
    EXPECT_FALSE(ApplyBpsPatch(c.patch, c.source, out, error)) << c.name;
    EXPECT_EQ(error, c.error) << c.name;
    EXPECT_EQ(out, (Bytes{1, 2, 3})) << c.name;
  }
}

// Patches with correct checksums whose actions break the rules: every read is checked, and the refusal
// names the patch as damaged in one line.
TEST(BpsPatch, MalformedActionsAreRefusedWithoutReadingOutside) {
  const Bytes source = Text("ABCDEFGH");
  struct Case {
    const char* name;
    Bytes body;
    std::string says;
  };
  const Case cases[] = {
      {"source read past the source", {0x88, 0x8A, 0x80, 0xA4}, "reads past the end of the image"},
      {"source copy before the start", {0x88, 0x82, 0x80, 0x86, 0x83}, "outside"},
      {"source copy past the end", {0x88, 0x84, 0x80, 0x8E, 0x8A}, "outside"},
      {"target copy of nothing written", {0x88, 0x82, 0x80, 0x87, 0x80}, "outside"},
      {"target copy ahead of the output", {0x88, 0x84, 0x80, 0x80, 0x87, 0x82}, "outside"},
      {"target read cut short", {0x88, 0x84, 0x80, 0x8D, 'a'}, "cut short"},
      {"number cut short", {0x88, 0x84, 0x80, 0x01}, "cut short"},
      {"copy offset missing", {0x88, 0x84, 0x80, 0x86}, "cut short"},
      {"number too long", {0x88, 0x84, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}, "cut short"},
      {"write past the target", {0x88, 0x81, 0x80, 0x84}, "past the end of the result"},
      {"actions end early", {0x88, 0x84, 0x80, 0x80}, "before the result is complete"},
      {"metadata past the end", {0x88, 0x84, 0x8F, 'a'}, "header is cut short"},
  };
  for (const Case& c : cases) {
    const Bytes patch = Seal(c.body, source, Text("ABCD"));
    Bytes out = {9};
    std::string error;
    EXPECT_FALSE(ApplyBpsPatch(patch, source, out, error)) << c.name;
    EXPECT_EQ(error.rfind(std::string(kBpsDamaged) + " (", 0), 0u) << c.name << ": " << error;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.name << ": " << error;
    EXPECT_EQ(out, Bytes{9}) << c.name;
  }

  // Not a patch, too short to hold one, and sizes beyond what is handled, refused before anything else.
  std::string error;
  BpsHeader h;
  EXPECT_FALSE(ReadBpsHeader(Text("PATCHEOF"), h, error));
  EXPECT_NE(error.find("BPS1"), std::string::npos) << error;
  EXPECT_FALSE(ReadBpsHeader(Text("BPS1\x80\x80\x80"), h, error));
  EXPECT_NE(error.find("cut short"), std::string::npos) << error;
  const Bytes huge = Seal({0x80, 0x7F, 0x7F, 0x7F, 0x7F, 0x80, 0x80}, {}, {});
  EXPECT_FALSE(ReadBpsHeader(huge, h, error));
  EXPECT_NE(error.find("larger"), std::string::npos) << error;
}

TEST(PatchApply, ChoosesTheFormatByItsHeader) {
  const Bytes file = Text("0123456789");
  const Bytes target = Text("01x3456789");
  Bytes out;
  std::string error;
  ASSERT_TRUE(ApplyPatch(Text("PATCH\x00\x00\x02\x00\x01xEOF"s), file, out, error)) << error;
  EXPECT_EQ(out, target);
  out.clear();
  ASSERT_TRUE(ApplyPatch(MakeBpsPatch(file, target), file, out, error)) << error;
  EXPECT_EQ(out, target);
  out = {7};
  EXPECT_FALSE(ApplyPatch(Text("PATCH\x00\x00"s), file, out, error));
  EXPECT_NE(error.find("IPS"), std::string::npos) << error;
  EXPECT_FALSE(ApplyPatch(file, file, out, error));
  EXPECT_EQ(error, "not a patch (it starts with neither PATCH nor BPS1)");
  EXPECT_EQ(out, Bytes{7});
}

}  // namespace
