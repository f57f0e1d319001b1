// BFA Routines: bit-addressed file access.
//
// Nineteen numbered channels (0x00 to 0x12) each hold one whole file in memory, with a read and a write
// position counted in bits. Bit p lies in byte p / 8 at bit 7 - (p % 8): positions run from the most to the
// least significant bit of each byte. One channel is current; every position, read, write, load and save
// operation acts on it. Failures show one of the library's message boxes (ErrorBox) and the operation returns
// its neutral value (0, false, an empty text or its documented result code). Single-threaded: only the thread
// that runs the main loop calls in here.
//
// Buffer safety (the rules that hold whatever the caller or the file does):
// - A read whose first bit lies inside the buffer but whose later bits run past its end reads every missing
//   bit as 0, and the read position advances by the full amount as if those bits were there. The next read
//   then fails its position test (message "Read Operation Failed").
// - BFA_get_bytes / BFA_get_Zbytes read missing bytes as 0 in the same way; BFA_SetRead_Zptr2 reads a pointer
//   byte that lies past the end as 0.
// - A text read (BFA_get_str) that never meets its terminator stops at the end of the buffer, because the
//   missing bits make a terminator code; the position then stands just past that code.
// - Loading takes only regular files no longer than BFA_MAX_FILE_SIZE; anything else (a directory, a FIFO, a
//   device, an unreadable, oversized or short-read file) shows "Error opening file!" and leaves the channel
//   exactly as it was. Nothing that was not read from the file ever enters a buffer.
// - Writes never let a buffer grow past BFA_MAX_FILE_SIZE, so positions and sizes in bits always fit in
//   a bitcounter.
//
// Note: the type name crc32 is also the name of zlib's function; a file that needs both includes <zlib.h> with
// `#define crc32 zlib_crc32` around it (zlib's crc32_z stays available).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A position or a count in bits.
typedef std::uint32_t bitcounter;
// A CRC-32 value (ISO-HDLC: the checksum of Ethernet, zlib and PNG).
typedef std::uint32_t crc32;

// Number of channels: 0x00 through 0x12.
constexpr int BFA_CHANNEL_COUNT = 0x13;
// Largest buffer in bytes a channel may hold (loaded or grown by writing); keeps every bit position and the
// size in bits, plus the longest single read, inside 32 bits.
constexpr std::size_t BFA_MAX_FILE_SIZE = 0x10000000;
// The marker OpenFileDialog returns when no file was chosen.
inline constexpr const char* BFA_NO_FILE_SELECTED = "NO_FILE_SELECTED";

// ---- Channel state (global, owned by this library) --------------------------------------------------------

// The buffer of each channel: the whole content of one file, byte i of the file at index i.
extern std::array<std::vector<char>, BFA_CHANNEL_COUNT> BFA_FileBuffer;
// Access mode of each channel: 0 = not activated, otherwise the mode (0 to 3) plus one.
extern std::array<int, BFA_CHANNEL_COUNT> BFA_AccessMode;
// Read position of each channel, in bits from the start of its buffer.
extern std::array<bitcounter, BFA_CHANNEL_COUNT> BFA_ReadPos;
// Write position of each channel, in bits from the start of its buffer.
extern std::array<bitcounter, BFA_CHANNEL_COUNT> BFA_WrtePos;
// CRC-32 of the file as last loaded into each channel; 0 after activation or deactivation.
extern std::array<crc32, BFA_CHANNEL_COUNT> BFA_OpenedCRC32;
// Number of the current channel.
extern int BFA_ChanID;
// Stack (top = back) of channels that were current when a channel was activated; BFA_Disable pops it.
extern std::vector<unsigned char> BFA_PreviousFileID;
// Permitted-operations text of each mode, as shown in the messages.
extern const char* const BFA_permitted_operations[4];
// Buffer of the channel made current by the last BFA_Activate or BFA_Disable (BFA_Switch leaves it).
extern std::vector<char>* BFA;
// Buffers of channels 0x10, 0x11 and 0x12. QBR1 holds the loaded ROM image; the level code reads it only
// through its own bounds-checked accessor (QBR1.data(), QBR1.size()).
extern std::vector<char>& QBR1;
extern std::vector<char>& QBR2;
extern std::vector<char>& QBR3;

// ---- Channels, modes and positions ------------------------------------------------------------------------

// Activates channel ID in mode 0 to 3 (emptied, positions and CRC 0) and makes it current, pushing the
// previously current channel if that one is activated. ID out of range: "Invalid Channel Parameter", nothing
// changes. A mode outside 0 to 3 is refused silently (nothing changes).
void BFA_Activate(int ID, int mode);
// Deactivates and empties every channel, makes channel 0 current and empties the channel stack: the state at
// program start.
void BFA_ResetAll();
// Deactivates and empties channel ID and pops the previously current channel (if the stack is not empty).
// ID out of range: "Invalid Channel Parameter", nothing changes.
void BFA_Disable(int ID);
// Makes the activated channel ID current without touching the stack. Out of range or not activated: message.
void BFA_Switch(int ID);
// Stored access mode of channel ID (0 = not activated, otherwise mode + 1); 0 for a number out of range.
int BFA_GetStatus(int ID);
// Whether channel ID is activated; false for a number out of range.
bool BFA_IsActive(int ID);
// Whether channel ID's mode permits loading files (modes 0 and 1).
bool BFA_canloadfiles(int ID);
// Whether channel ID's mode permits saving files (modes 1, 2 and 3).
bool BFA_cansavefiles(int ID);
// Whether channel ID's mode permits reading (modes 0, 1 and 3).
bool BFA_canreadfiles(int ID);
// Whether channel ID's mode permits writing (modes 1, 2 and 3).
bool BFA_canwritefiles(int ID);
// Sets the current channel's read position; past the last bit (8*size - 1): "SetRead Operation Failed".
void BFA_SetRead(bitcounter location);
// Sets the current channel's write position; past 8*size: "SetWrte Operation Failed".
void BFA_SetWrte(bitcounter location);
// Current channel's read position in bits.
bitcounter BFA_GetRead();
// Current channel's write position in bits.
bitcounter BFA_GetWrte();
// Size of the current channel's buffer in BYTES.
bitcounter BFA_GetSize();
// True when the read position lies in the first byte past the end of the buffer (size == read / 8).
bool BFA_IsAtEnd();

// ---- Loading, opening and saving --------------------------------------------------------------------------

// Shows the open-file dialog. parameters: Win32-style filter list (description\0pattern\0 ... \0, first entry
// selected; patterns separated by ';'); title: the dialog title. Returns the full path of the chosen existing
// file, or "NO_FILE_SELECTED". The working directory is the same afterwards.
std::string OpenFileDialog(const char* parameters, const char* title);
// Loads the whole file into the current channel (positions untouched) and records its CRC-32.
// Refusals: "Channel Not Activated", "Load Operation Denied", "Error opening file!"; the channel is unchanged.
bool BFA_Load(const char* filename);
// Dialog, then BFA_Load of the chosen file: 0 loaded, 1 chosen but not loaded (message shown), 2 none chosen.
int BFA_Open(const char* parameters, const char* title);
// Writes the whole buffer of the current channel to filename (created or emptied). Refusals: "Channel Not
// Activated", "Save Operation Denied", "Error saving file!" (also when the data cannot all be written).
bool BFA_Save(const char* filename);

// A whole file read from disk and the CRC-32 of its bytes, not yet in any channel.
struct BFA_LoadedFile {
  std::vector<char> bytes;
  crc32 crc = 0;
};
// Reads a whole regular file with the checks of BFA_Load (no channel involved): on failure shows
// "Error opening file!" and returns false with `out` unchanged. Lets a caller try a file before giving up
// the image a channel already holds.
bool BFA_ReadFile(const char* filename, BFA_LoadedFile& out);
// Moves a file read by BFA_ReadFile into the current channel as BFA_Load would (same channel tests and
// messages naming filename; positions untouched; BFA_OpenedCRC32 = file.crc). More than BFA_MAX_FILE_SIZE
// bytes: "Error opening file!". On refusal `file` is unchanged.
bool BFA_LoadFrom(const char* filename, BFA_LoadedFile&& file);

// ---- Bit-stream reading (current channel, at its read position) --------------------------------------------
// Every read first checks: channel activated ("Channel Not Activated"), mode permits reading ("Read Operation
// Denied"), read position inside the buffer ("Read Operation Failed"); a refused read returns 0/false/"" and
// leaves the position. Bits past the end of the buffer read as 0 (see the top of this file).

// 6-bit character code -> character: 0 = end of text, 1-10 "0"-"9", 11 space, 12-37 "A"-"Z", 38-63 "a"-"z".
extern const std::array<char, 64> BFA_6to8_bitstr_conversion_table;
// Byte (unsigned) -> 6-bit code, the inverse of the table above; every other byte value gives 11 (space).
extern const std::array<unsigned char, 256> BFA_8to6_bitstr_conversion_table;

// Next num_bits bits (clamped to 1..32) as an unsigned number, first bit most significant.
unsigned long BFA_get_int(int num_bits);
// Next bit.
bool BFA_get_bool();
// Next text of char_size-bit codes (6 or 8) up to and including its terminator, returned without it.
// Other sizes: "<N>-bit Characters Unsupported" / "Large Characters Unsupported", empty text.
std::string BFA_get_str(int char_size);
// Moves the read position by bits_to_skip (unsigned 32-bit wrap); a result past the last bit is refused with
// "BFA_get_bits Operation Failed". Mode test reports "BFA_get_bits Operation Denied"; no position test.
void BFA_get_bits(int bits_to_skip);
// Whether every bit from the read position up to (not including) the last bit of the current byte equals
// verify_bool; passes the equal bits, stops on the first differing bit or on the byte's last bit (unread).
bool BFA_get_last(bool verify_bool);
// Next num_bytes (0 to 4) whole bytes from the byte holding the read position, first byte most significant;
// advances 8 bits per byte. 0 returns 0 and moves nothing; other counts are refused (0, nothing moves).
unsigned long BFA_get_bytes(int num_bytes);
// As BFA_get_bytes, first byte least significant (little-endian).
unsigned long BFA_get_Zbytes(int num_bytes);
// Follows entry index of a table of 2-byte little-endian pointers into one 64 KiB bank (offsets above
// 0x3FFFFF are console addresses and lose 0xC00000). Sets the read position to the table first (kept on
// refusal), then to (pointer + bank_offset) * 8; true when it got there.
bool BFA_SetRead_Zptr2(int table_offset, int index, int bank_offset);

// ---- CRC-32 ------------------------------------------------------------------------------------------------

// CRC-32 of the first size bytes at data (0 bytes when size <= 0).
crc32 CharArray_Get_CRC32(const char* data, int size);
// CRC-32 of every byte of data.
unsigned long Vector_Get_CRC32(const std::vector<char>& data);
// CRC-32 of the current channel's buffer as it is now.
crc32 BFA_GetCRC32();
// CRC-32 of a whole file on disk (opened for reading and writing, as the program may later write it); touches
// no channel. Cannot be opened / not a regular file: "Error opening file!", returns 0.
crc32 BFA_LoadCRC32(const char* filename);
// The low num_bits bits of data in reverse order (higher bits 0); num_bits is taken as 0 to 32.
unsigned long bitwise_rotafilp_int(unsigned long data, int num_bits);

// ---- Bit-stream writing (current channel, at its write position) -------------------------------------------
// Every write first checks: channel activated ("Channel Not Activated"), mode permits writing ("Write
// Operation Denied"). Writing inside the buffer overwrites bits; writing at its end appends a byte at a time.
// A refused write changes neither buffer nor position. Refused silently (false, no message): writes that
// would grow the buffer past BFA_MAX_FILE_SIZE, and writes while the write position lies past the end of the
// buffer (possible only after loading a shorter file into a channel in use, as loading keeps positions).

// Writes the low num_bits bits of data, most significant first; num_bits outside 0..32 is refused (false).
bool BFA_set_int(unsigned long data, int num_bits);
// Writes bit 0 of data.
bool BFA_set_bool(unsigned long data);
// Writes num_bits copies of value; num_bits outside 0..32 is refused (false).
bool BFA_set_bits(int num_bits, bool value);
// Fills the rest of the current byte with value, up to the next byte boundary (nothing at a boundary).
bool BFA_set_last(bool value);
// Writes the zero-terminated text data in char_size-bit codes (6 or 8) followed by a zero code. Other sizes:
// "<N>-bit Characters Unsupported" / "Large Characters Unsupported", false. A null data is refused (false).
bool BFA_set_str(const char* data, int char_size);
