#include "codec/char_codec.h"

CharBlockEnd QBR1_DecompressCharacters(const unsigned char* data, std::size_t size, std::vector<unsigned char>& out) {
  const std::size_t start = out.size();
  CharBlockEnd end;
  std::size_t i = kCharDictionaryBytes;  // the control stream follows the dictionary
  // A block whose output ran past the ceiling is cut there and never whole.
  const auto stop = [&](bool complete) {
    end.complete = complete && out.size() - start <= kCharMaxRaw;
    if (out.size() - start > kCharMaxRaw) out.resize(start + kCharMaxRaw);
    end.length = i < size ? i : size;
    return end;
  };
  for (;;) {
    if (i >= size) return stop(false);
    if (data[i] == 0) {
      ++i;
      return stop(true);
    }
    // The ceiling is checked after the end marker, so a block that fills it exactly is whole.
    if (out.size() - start >= kCharMaxRaw) return stop(false);
    const unsigned c = data[i++];
    const std::size_t n = c & kCharMaxCount;
    switch (c >> 6) {
      case 0:  // literal run
        for (std::size_t k = 0; k < n; ++k, ++i) {
          if (i >= size) return stop(false);
          out.push_back(data[i]);
        }
        break;
      case 1:  // fill
        if (i >= size) return stop(false);
        out.insert(out.end(), n, data[i++]);
        break;
      case 2: {  // copy from the output; an overlapping source repeats what is being produced
        if (i + 1 >= size) {
          i = size;
          return stop(false);
        }
        std::size_t s = start + (data[i] | (data[i + 1] << 8));
        i += 2;
        for (std::size_t k = 0; k < n; ++k, ++s) {
          if (s >= out.size()) return stop(false);
          out.push_back(out[s]);
        }
        break;
      }
      default:  // dictionary pair n
        if (2 * n + 1 >= size) return stop(false);
        out.push_back(data[2 * n]);
        out.push_back(data[2 * n + 1]);
        break;
    }
  }
}
