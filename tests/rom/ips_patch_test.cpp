#include "rom/ips_patch.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TEST(IpsPatch, WritesTheStandardLayout) {
  Bytes original(64, 0);
  Bytes edited = original;
  edited[3] = 0xAA;
  edited[4] = 0xBB;
  edited.push_back(0x11);  // one byte longer
  Bytes patch;
  std::string error;
  ASSERT_TRUE(MakeIpsPatch(original, edited, patch, error)) << error;
  EXPECT_EQ(patch, Cat({Text("PATCH"),
                        {0x00, 0x00, 0x03, 0x00, 0x02, 0xAA, 0xBB},
                        {0x00, 0x00, 0x40, 0x00, 0x01, 0x11},
                        Text("EOF")}));

  Bytes same;
  ASSERT_TRUE(MakeIpsPatch(original, original, same, error));
  EXPECT_EQ(same, Text("PATCHEOF"));

  // A shorter edited file: the changes within it, then its size after the marker.
  Bytes cut(original.begin(), original.begin() + 10);
  cut[9] = 0x99;
  ASSERT_TRUE(MakeIpsPatch(original, cut, patch, error)) << error;
  EXPECT_EQ(patch, Cat({Text("PATCH"), {0x00, 0x00, 0x09, 0x00, 0x01, 0x99}, Text("EOF"), {0x00, 0x00, 0x0A}}));
}

// Each case edits a copy of a random original; the patch must rebuild the edited file exactly, no record
// may start at the end marker's offset, and long runs of one value must be run-length records.
TEST(IpsPatch, RoundTripsEveryKindOfChange) {
  struct Case {
    const char* name;
    std::size_t size;
    std::function<void(Bytes&)> edit;
    bool expect_run;
  };
  constexpr std::size_t kEof = kIpsEofOffset;
  const Case cases[] = {
      {"scattered bytes", 0x10000,
       [](Bytes& b) {
         for (std::size_t i = 7; i < b.size(); i += 997) b[i] ^= 0xFF;
       },
       false},
      {"long run", 0x10000, [](Bytes& b) { std::fill(b.begin() + 100, b.begin() + 400, 0x5A); }, true},
      {"run longer than one record", 0x30000, [](Bytes& b) { std::fill(b.begin() + 5, b.begin() + 0x25000, 0x00); },
       true},
      {"plain stretch longer than one record", 0x30000,
       [](Bytes& b) {
         for (std::size_t i = 0x100; i < 0x22000; ++i) b[i] = static_cast<unsigned char>(~b[i]);
       },
       false},
      {"one byte at the marker offset", kEof + 16, [](Bytes& b) { b[kEof] ^= 0x01; }, false},
      {"stretch from the marker offset", kEof + 64,
       [](Bytes& b) {
         for (std::size_t i = kEof; i < kEof + 9; ++i) b[i] ^= 0x80;
       },
       false},
      {"run from the marker offset", kEof + 64, [](Bytes& b) { std::fill_n(b.begin() + kEof, 40, 0xE7); }, true},
      {"change right before the marker offset", kEof + 16, [](Bytes& b) { b[kEof - 1] ^= 0x10; }, false},
      {"appended bytes", 0x1000, [](Bytes& b) { b.resize(b.size() + 300, 0x42); }, true},
      {"first and last byte", 0x1000,
       [](Bytes& b) {
         b.front() ^= 1;
         b.back() ^= 1;
       },
       false},
      {"cut short", 0x1000, [](Bytes& b) { b.resize(0x321); }, false},
      {"cut short and changed before the cut", 0x1000,
       [](Bytes& b) {
         b.resize(0x800);
         std::fill(b.end() - 40, b.end(), 0x00);
       },
       true},
      // Past the last offset a record can name, a record starts there and carries the bytes up to it.
      {"change past the last record offset", kIpsMaxOffset + 0x100, [](Bytes& b) { b[kIpsMaxOffset + 7] ^= 0x01; },
       false},
      {"run past the last record offset", kIpsMaxOffset + 0x100,
       [](Bytes& b) { std::fill_n(b.begin() + kIpsMaxOffset + 3, 60, 0x3D); }, false},
      {"last byte a record can reach", kIpsMaxOffset + 0xFFFF, [](Bytes& b) { b[kIpsMaxOffset + 0xFFFE] ^= 0x01; },
       false},
  };
  for (const Case& c : cases) {
    Bytes original(c.size);
    std::mt19937 rng(static_cast<unsigned>(c.size));
    for (auto& v : original) v = static_cast<unsigned char>(rng());
    Bytes edited = original;
    c.edit(edited);

    Bytes patch;
    std::string error;
    ASSERT_TRUE(MakeIpsPatch(original, edited, patch, error)) << c.name << ": " << error;
    std::vector<IpsRecord> records;
    ASSERT_TRUE(ReadIpsPatch(patch, records, error)) << c.name << ": " << error;
    bool any_run = false;
    for (const IpsRecord& r : records) {
      EXPECT_NE(r.offset, kIpsEofOffset) << c.name;
      EXPECT_LE(r.count, 0xFFFFu) << c.name;
      any_run = any_run || r.run;
    }
    EXPECT_EQ(any_run, c.expect_run) << c.name;
    Bytes rebuilt = original;
    ASSERT_TRUE(ApplyIpsPatch(patch, rebuilt, error)) << c.name << ": " << error;
    EXPECT_TRUE(rebuilt == edited) << c.name;
  }
}

TEST(IpsPatch, ChangesNoRecordCanReachAreRefused) {
  Bytes original(kIpsMaxOffset + 0x10010, 0x11);
  Bytes edited = original;
  edited[kIpsMaxOffset + 0xFFFF] = 0x22;  // one byte past the reach of a record at the last offset
  Bytes patch;
  std::string error;
  EXPECT_FALSE(MakeIpsPatch(original, edited, patch, error));
  EXPECT_EQ(error, "a change lies beyond the 16 MiB an IPS patch can address");
  EXPECT_TRUE(patch.empty());
}

TEST(IpsPatch, MalformedPatchesAreRefusedAndChangeNothing) {
  const Bytes rec = {0x00, 0x00, 0x02, 0x00, 0x03, 0x11, 0x22, 0x33};  // 3 bytes at offset 2
  struct Case {
    const char* name;
    Bytes patch;
    const char* error;
  };
  const Case cases[] = {
      {"empty", {}, "not an IPS patch (it does not start with PATCH)"},
      {"wrong header",
       Text("PATCX"
            "EOF"),
       "not an IPS patch (it does not start with PATCH)"},
      {"header only", Text("PATCH"), "truncated IPS patch (no EOF marker)"},
      {"no end marker", Cat({Text("PATCH"), rec}), "truncated IPS patch (no EOF marker)"},
      {"offset cut short", Cat({Text("PATCH"), {0x00, 0x00, 0x02, 0x00}}),
       "truncated IPS patch (the record at byte 5 is cut short)"},
      {"data cut short", Cat({Text("PATCH"), rec, {0x00, 0x00, 0x09, 0x00, 0x04, 0x01, 0x02}}),
       "truncated IPS patch (the record at byte 13 is cut short)"},
      {"data one byte short", Cat({Text("PATCH"), {0x00, 0x00, 0x02, 0x00, 0x03, 0x11, 0x22}}),
       "truncated IPS patch (the record at byte 5 is cut short)"},
      {"run cut short", Cat({Text("PATCH"), {0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x05}}),
       "truncated IPS patch (the record at byte 5 is cut short)"},
      {"empty run", Cat({Text("PATCH"), {0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x77}, Text("EOF")}),
       "malformed IPS patch (the run-length record at byte 5 repeats nothing)"},
      {"bytes after the end", Cat({Text("PATCH"), rec, Text("EOF"), {0x00}}),
       "malformed IPS patch (1 bytes after the EOF marker)"},
      {"more than a size after the end", Cat({Text("PATCH"), rec, Text("EOF"), {0x00, 0x00, 0x04, 0x00}}),
       "malformed IPS patch (4 bytes after the EOF marker)"},
  };
  for (const Case& c : cases) {
    Bytes file(8, 0xEE);
    std::string error;
    EXPECT_FALSE(ApplyIpsPatch(c.patch, file, error)) << c.name;
    EXPECT_EQ(error, c.error) << c.name;
    EXPECT_EQ(file, Bytes(8, 0xEE)) << c.name;
  }
}

TEST(IpsPatch, RecordsPastTheEndGrowTheFileWithZeros) {
  const Bytes patch = Cat({Text("PATCH"),
                           {0x00, 0x00, 0x06, 0x00, 0x02, 0xA1, 0xA2},
                           {0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x03, 0x5C},
                           Text("EOF")});
  Bytes file = {1, 2, 3, 4};
  std::string error;
  ASSERT_TRUE(ApplyIpsPatch(patch, file, error)) << error;
  EXPECT_EQ(file, (Bytes{1, 0x5C, 0x5C, 0x5C, 0, 0, 0xA1, 0xA2}));
}

// The size after the end marker cuts the patched file; a size at or past its end leaves it whole.
TEST(IpsPatch, SizeAfterTheMarkerCutsTheFile) {
  const Bytes rec = {0x00, 0x00, 0x01, 0x00, 0x02, 0xA1, 0xA2};
  struct Case {
    const char* name;
    Bytes patch;
    Bytes result;
  };
  const Case cases[] = {
      {"cut", Cat({Text("PATCH"), rec, Text("EOF"), {0x00, 0x00, 0x02}}), {1, 0xA1}},
      {"cut to nothing", Cat({Text("PATCH"), Text("EOF"), {0x00, 0x00, 0x00}}), {}},
      {"size of the file", Cat({Text("PATCH"), rec, Text("EOF"), {0x00, 0x00, 0x06}}), {1, 0xA1, 0xA2, 4, 5, 6}},
      {"size past the file", Cat({Text("PATCH"), Text("EOF"), {0x00, 0x01, 0x00}}), {1, 2, 3, 4, 5, 6}},
  };
  for (const Case& c : cases) {
    Bytes file = {1, 2, 3, 4, 5, 6};
    std::string error;
    ASSERT_TRUE(ApplyIpsPatch(c.patch, file, error)) << c.name << ": " << error;
    EXPECT_EQ(file, c.result) << c.name;
  }
  std::vector<IpsRecord> records;
  std::optional<std::size_t> cut_to;
  std::string error;
  ASSERT_TRUE(ReadIpsPatch(cases[0].patch, records, error, &cut_to));
  EXPECT_EQ(cut_to, std::optional<std::size_t>(2));
  ASSERT_TRUE(ReadIpsPatch(Cat({Text("PATCH"), rec, Text("EOF")}), records, error, &cut_to));
  EXPECT_FALSE(cut_to.has_value());
}

}  // namespace
