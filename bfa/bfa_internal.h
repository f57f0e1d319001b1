// Helpers shared by the files of the BFA library; not part of its interface.
#pragma once

#include "bfa/bfa.h"

#include <string>

namespace bfa_detail {

// The current channel's buffer, read and write position.
inline std::vector<char>& CurrentBuffer() { return BFA_FileBuffer[BFA_ChanID]; }
inline bitcounter& CurrentRead() { return BFA_ReadPos[BFA_ChanID]; }
inline bitcounter& CurrentWrite() { return BFA_WrtePos[BFA_ChanID]; }

// Whether the channel number names one of the channels (and may index the state arrays).
inline bool ValidChannel(int ID) { return ID >= 0 && ID < BFA_CHANNEL_COUNT; }

// Size of a buffer in bits. Buffers never exceed BFA_MAX_FILE_SIZE, so this fits in 32 bits.
inline bitcounter SizeInBits(const std::vector<char>& buffer) { return static_cast<bitcounter>(buffer.size() * 8); }

// Bit p of the buffer (most significant bit of each byte first); a bit past the end reads as 0.
inline unsigned ReadBit(const std::vector<char>& buffer, bitcounter p) {
  const std::size_t byte = p / 8;
  if (byte >= buffer.size()) return 0;
  return (static_cast<unsigned char>(buffer[byte]) >> (7 - p % 8)) & 1u;
}

// Byte i of the buffer as 0..255; a byte past the end (or before the start) reads as 0.
inline unsigned ReadByte(const std::vector<char>& buffer, long long i) {
  if (i < 0 || static_cast<unsigned long long>(i) >= buffer.size()) return 0;
  return static_cast<unsigned char>(buffer[static_cast<std::size_t>(i)]);
}

// CRC-32 of size bytes at data.
crc32 Checksum(const void* data, std::size_t size);

// Reads the whole content of an open file descriptor into out (replacing it). Succeeds only for a regular
// file of at most BFA_MAX_FILE_SIZE bytes that delivers exactly the length it had when opened; on failure
// out is unchanged. Shows nothing.
bool ReadOpenedFile(int fd, std::vector<char>& out);

// The kinds of operation whose channel tests share one message shape.
enum class Operation { Read, GetBits, Write, Load, Save };

// Runs the two channel tests of an operation on the current channel, in order: activated, then permitted by
// its mode. Shows the operation's message and returns false at the first that fails. `filename` is named by
// the load and save messages.
bool ChannelAllows(Operation op, const char* filename = nullptr);

// Read test 3: the read position lies inside the buffer; otherwise shows "Read Operation Failed".
bool ReadPositionInside();

// Whether `bits` bits can be written at the current write position: the position lies inside the buffer or
// just past it (a later load of a shorter file can leave it further out) and the buffer stays within
// BFA_MAX_FILE_SIZE.
bool WriteFits(std::size_t bits);

// The messages of the catalogue that are not channel tests.
void ShowSwitchInvalid(int ID);                             // M1
void ShowSwitchInactive(int ID);                            // M2
void ShowActivateInvalid(int ID);                           // M3
void ShowDisableInvalid(int ID);                            // M4
void ShowSetReadFailed(bitcounter location);                // M5
void ShowSetWrteFailed(bitcounter location);                // M6
void ShowGetBitsFailed(bitcounter location);                // M11
void ShowCharSizeUnsupported(int char_size, bool writing);  // M12, M13, M16, M17
void ShowOpenFailed(const char* filename);                  // M20
void ShowSaveFailed(const char* filename);                  // M23

}  // namespace bfa_detail
