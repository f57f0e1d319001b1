#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>

// The whole file at `path` as a contiguous container of bytes (std::string, std::vector<char> or
// std::vector<unsigned char>), read in one call: a stream iterator reads byte by byte, which takes
// seconds for an image of megabytes in the sanitizer build. Empty when the file cannot be read.
template <class Bytes>
Bytes ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
  if (size <= 0) return {};
  Bytes bytes(static_cast<std::size_t>(size), 0);
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}
