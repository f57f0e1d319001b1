#include "tests/common/test_png.h"

#include <string>

namespace {

std::uint32_t Crc(const unsigned char* p, std::size_t n, std::uint32_t crc = 0xFFFFFFFFu) {
  for (std::size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  return crc;
}

void Put32(std::vector<unsigned char>& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<unsigned char>(v >> s));
}

void Chunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
  Put32(out, static_cast<std::uint32_t>(data.size()));
  std::vector<unsigned char> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  Put32(out, Crc(body.data(), body.size()) ^ 0xFFFFFFFFu);
}

int Channels(int colour_type) {
  switch (colour_type) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}

}  // namespace

std::vector<unsigned char> MakeTestPng(const TestPng& png) {
  std::vector<unsigned char> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<unsigned char> ihdr;
  Put32(ihdr, static_cast<std::uint32_t>(png.w));
  Put32(ihdr, static_cast<std::uint32_t>(png.h));
  ihdr.insert(ihdr.end(), {static_cast<unsigned char>(png.depth), static_cast<unsigned char>(png.colour_type), 0, 0, 0});
  Chunk(out, "IHDR", ihdr);
  if (png.colour_type == 3) {
    std::vector<unsigned char> plte;
    if (!png.colours.empty()) {
      for (std::uint32_t c : png.colours)
        plte.insert(plte.end(), {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8),
                                 static_cast<unsigned char>(c)});
    } else {
      for (int i = 0; i < png.palette_size; ++i)
        plte.insert(plte.end(), {static_cast<unsigned char>(i * 16), static_cast<unsigned char>(255 - i), 0x80});
    }
    Chunk(out, "PLTE", plte);
  }
  // Each row: filter type 0, then the samples packed most significant bits first.
  const int per_row = png.w * Channels(png.colour_type);
  std::vector<unsigned char> raw;
  for (int y = 0; y < png.h; ++y) {
    raw.push_back(0);
    unsigned bits = 0, acc = 0;
    for (int k = 0; k < per_row; ++k) {
      const std::uint32_t v = png.samples[static_cast<std::size_t>(y) * per_row + k];
      if (png.depth == 16) {
        raw.push_back(static_cast<unsigned char>(v >> 8));
        raw.push_back(static_cast<unsigned char>(v));
        continue;
      }
      acc = acc << png.depth | (v & ((1u << png.depth) - 1));
      bits += png.depth;
      if (bits == 8) raw.push_back(static_cast<unsigned char>(acc)), acc = 0, bits = 0;
    }
    if (bits > 0) raw.push_back(static_cast<unsigned char>(acc << (8 - bits)));
  }
  // zlib stream of stored blocks, with its Adler-32.
  std::vector<unsigned char> z = {0x78, 0x01};
  std::size_t at = 0;
  do {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    const bool last = at + n == raw.size();
    z.insert(z.end(), {static_cast<unsigned char>(last), static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                       static_cast<unsigned char>(~n), static_cast<unsigned char>(~n >> 8)});
    z.insert(z.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + n));
    at += n;
  } while (at < raw.size());
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
  Put32(z, b << 16 | a);
  Chunk(out, "IDAT", z);
  Chunk(out, "IEND", {});
  return out;
}
