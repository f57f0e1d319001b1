#pragma once

#include <vector>

// How often the demo encoder used each control form.
struct DemoCompressionStats {
  int literals = 0;     // 00: literal runs
  int fills = 0;        // 01: one byte repeated
  int copies = 0;       // 10: copies from the output so far
  int overlapping = 0;  // copies whose source reaches into the bytes being produced
  int dictionary = 0;   // 11: dictionary pairs
};

// Compresses raw into the game's character format: 64 dictionary pairs (the
// most frequent byte pairs), then control bytes, then the end marker 0. Greedy:
// at each position the form that covers the most bytes wins.
std::vector<unsigned char> DemoCompress(const std::vector<unsigned char>& raw, DemoCompressionStats* stats = nullptr);
