// Drives random sequences of BFA calls (activation, switching, positions, reads, writes, loads, saves, CRC)
// over random buffers. Sanitizers catch any access outside a buffer; the checks below catch broken state.
#include "bfa/bfa.h"
#include "platform/dialogs.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string gDir;       // scratch directory, removed at exit
std::string gFilePath;  // a small file the load and open calls read
std::string gSavePath;  // where saves go
bool gOpenAnswersFile = true;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Bit-at-a-time CRC-32, the definition the table-driven routine must agree with.
crc32 ReferenceCrc(const std::vector<char>& bytes) {
  std::uint32_t reg = 0xFFFFFFFFu;
  for (char c : bytes) {
    reg ^= static_cast<unsigned char>(c);
    for (int i = 0; i < 8; ++i) reg = (reg & 1u) ? (reg >> 1) ^ 0xEDB88320u : reg >> 1;
  }
  return ~reg;
}

int ChannelArg(FuzzedDataProvider& in) { return in.ConsumeIntegralInRange<int>(-3, 0x15); }

// Positions near the interesting edges of the current buffer, or anything at all.
bitcounter PositionArg(FuzzedDataProvider& in) {
  const auto size = static_cast<bitcounter>(BFA_FileBuffer[BFA_ChanID].size() * 8);
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return in.ConsumeIntegralInRange<bitcounter>(0, size + 16);
    case 1: return size - in.ConsumeIntegralInRange<bitcounter>(0, 40);
    case 2: return in.ConsumeIntegralInRange<bitcounter>(0, 64);
    default: return in.ConsumeIntegral<bitcounter>();
  }
}

std::vector<char> BytesArg(FuzzedDataProvider& in) {
  const std::size_t n = in.ConsumeIntegralInRange<std::size_t>(0, 4096);
  std::vector<char> bytes = in.ConsumeBytes<char>(n);
  return bytes;
}

void Step(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange<int>(0, 29)) {
    case 0: BFA_Activate(ChannelArg(in), in.ConsumeIntegralInRange<int>(-1, 4)); break;
    case 1: BFA_Disable(ChannelArg(in)); break;
    case 2: BFA_Switch(ChannelArg(in)); break;
    case 3: BFA_SetRead(PositionArg(in)); break;
    case 4: BFA_SetWrte(PositionArg(in)); break;
    case 5: {
      const int id = ChannelArg(in);
      (void)BFA_GetStatus(id);
      (void)BFA_canloadfiles(id);
      (void)BFA_cansavefiles(id);
      (void)BFA_canreadfiles(id);
      (void)BFA_canwritefiles(id);
      (void)BFA_IsAtEnd();
      Check(BFA_GetSize() == BFA_FileBuffer[BFA_ChanID].size());
      break;
    }
    case 6:
      // A random buffer straight into a channel, the way a load would leave it.
      BFA_FileBuffer[in.ConsumeIntegralInRange<int>(0, BFA_CHANNEL_COUNT - 1)] = BytesArg(in);
      break;
    case 7: (void)BFA_get_int(in.ConsumeIntegralInRange<int>(-4, 40)); break;
    case 8: (void)BFA_get_bool(); break;
    case 9: {
      const std::string text = BFA_get_str(in.ConsumeIntegralInRange<int>(0, 10));
      // A text ends at the end of the buffer at the latest.
      Check(text.size() <= BFA_FileBuffer[BFA_ChanID].size() * 8 / 6 + 1);
      break;
    }
    case 10: BFA_get_bits(in.ConsumeIntegral<int>()); break;
    case 11: BFA_get_bits(in.ConsumeIntegralInRange<int>(-64, 64)); break;
    case 12: (void)BFA_get_last(in.ConsumeBool()); break;
    case 13: (void)BFA_get_bytes(in.ConsumeIntegralInRange<int>(-2, 6)); break;
    case 14: (void)BFA_get_Zbytes(in.ConsumeIntegralInRange<int>(-2, 6)); break;
    case 15: {
      const int table = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange<int>(0, 5000);
      const int index = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange<int>(-4, 2000);
      (void)BFA_SetRead_Zptr2(table, index, in.ConsumeIntegral<int>());
      break;
    }
    case 16: (void)BFA_set_int(in.ConsumeIntegral<unsigned long>(), in.ConsumeIntegralInRange<int>(-2, 34)); break;
    case 17: (void)BFA_set_bool(in.ConsumeIntegral<unsigned long>()); break;
    case 18: (void)BFA_set_bits(in.ConsumeIntegralInRange<int>(-2, 34), in.ConsumeBool()); break;
    case 19: (void)BFA_set_last(in.ConsumeBool()); break;
    case 20: {
      const std::string text = in.ConsumeRandomLengthString(64);
      (void)BFA_set_str(text.c_str(), in.ConsumeIntegralInRange<int>(0, 10));
      break;
    }
    case 21: Check(BFA_GetCRC32() == ReferenceCrc(BFA_FileBuffer[BFA_ChanID])); break;
    case 22: {
      const std::vector<char> bytes = BytesArg(in);
      Check(CharArray_Get_CRC32(bytes.data(), static_cast<int>(bytes.size())) == ReferenceCrc(bytes));
      break;
    }
    case 23: {
      BFA_LoadedFile file;
      file.bytes = BytesArg(in);
      file.crc = CharArray_Get_CRC32(file.bytes.data(), static_cast<int>(file.bytes.size()));
      const bool loaded = BFA_LoadFrom("memory", std::move(file));
      Check(!loaded || BFA_OpenedCRC32[BFA_ChanID] == BFA_GetCRC32());
      break;
    }
    case 24:
      if (BFA_Load(gFilePath.c_str())) Check(BFA_OpenedCRC32[BFA_ChanID] == BFA_GetCRC32());
      break;
    case 25: (void)BFA_Load(in.ConsumeBool() ? "/nonexistent/file" : "/tmp"); break;
    case 26:
      if (BFA_Save(gSavePath.c_str())) {
        Check(BFA_LoadCRC32(gSavePath.c_str()) == BFA_GetCRC32());
      }
      break;
    case 27:
      gOpenAnswersFile = in.ConsumeBool();
      (void)BFA_Open("Any\0*.*\0", "Open");
      break;
    case 28:
      (void)bitwise_rotafilp_int(in.ConsumeIntegral<unsigned long>(), in.ConsumeIntegralInRange<int>(-2, 40));
      break;
    default:
      (void)BFA_GetRead();
      (void)BFA_GetWrte();
      break;
  }
}

// State that must hold after any sequence of calls.
void CheckInvariants() {
  Check(BFA_ChanID >= 0 && BFA_ChanID < BFA_CHANNEL_COUNT);
  for (unsigned char id : BFA_PreviousFileID) Check(id < BFA_CHANNEL_COUNT);
  for (int id = 0; id < BFA_CHANNEL_COUNT; ++id) {
    Check(BFA_AccessMode[id] >= 0 && BFA_AccessMode[id] <= 4);
    Check(BFA_FileBuffer[id].size() <= BFA_MAX_FILE_SIZE);
  }
  Check(BFA >= &BFA_FileBuffer[0] && BFA <= &BFA_FileBuffer[BFA_CHANNEL_COUNT - 1]);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Every box goes to an in-process dialog script: nothing may wait for a user.
  PlatformUseScriptedDialogs([](const DialogRecord& record) -> std::string {
    if (record.kind == BoxKind::Open) return gOpenAnswersFile ? gFilePath : "cancel";
    return "ok";
  });
  char dir[] = "/tmp/bfa_fuzz_XXXXXX";
  if (mkdtemp(dir) == nullptr) std::abort();
  gDir = dir;
  gFilePath = gDir + "/in.bin";
  gSavePath = gDir + "/out.bin";
  std::atexit([] {
    ::unlink(gFilePath.c_str());
    ::unlink(gSavePath.c_str());
    ::rmdir(gDir.c_str());
  });
  if (FILE* f = std::fopen(gFilePath.c_str(), "wb")) {
    const char bytes[] = "\x12\x80\xFF\x01QBR image\0\x41\x42\x00\xA5\x0F";
    std::fwrite(bytes, 1, sizeof bytes, f);
    std::fclose(f);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  BFA_ResetAll();
  FuzzedDataProvider in(data, size);
  for (int steps = 0; steps < 256 && in.remaining_bytes() > 0; ++steps) {
    Step(in);
    CheckInvariants();
  }
  return 0;
}
