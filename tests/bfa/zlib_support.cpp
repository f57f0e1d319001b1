// zlib's checksum for comparison, kept apart from the BFA header: zlib's function and the library's checksum
// type share the name crc32.
#include <zlib.h>

#include <cstddef>
#include <cstdint>

std::uint32_t ZlibCrc32(const void* data, std::size_t size) {
  return static_cast<std::uint32_t>(crc32_z(0, static_cast<const Bytef*>(data), size));
}
