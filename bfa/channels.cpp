// Channel state, activation, switching, permission tests and positions.
#include "bfa/bfa_internal.h"

using namespace bfa_detail;

std::array<std::vector<char>, BFA_CHANNEL_COUNT> BFA_FileBuffer;
std::array<int, BFA_CHANNEL_COUNT> BFA_AccessMode{};
std::array<bitcounter, BFA_CHANNEL_COUNT> BFA_ReadPos{};
std::array<bitcounter, BFA_CHANNEL_COUNT> BFA_WrtePos{};
std::array<crc32, BFA_CHANNEL_COUNT> BFA_OpenedCRC32{};
int BFA_ChanID = 0;
std::vector<unsigned char> BFA_PreviousFileID;
const char* const BFA_permitted_operations[4] = {"Load, Read", "Load, Save, Read, and Write", "Save, Write",
                                                 "Save, Read, Write"};
std::vector<char>* BFA = &BFA_FileBuffer[0];
std::vector<char>& QBR1 = BFA_FileBuffer[0x10];
std::vector<char>& QBR2 = BFA_FileBuffer[0x11];
std::vector<char>& QBR3 = BFA_FileBuffer[0x12];

namespace {

// Puts channel ID into the given stored mode with an empty buffer, zero positions and zero CRC. The buffer's
// memory is released too: a channel that held a large image should not keep it after being emptied.
void ResetChannel(int ID, int stored_mode) {
  BFA_AccessMode[ID] = stored_mode;
  BFA_ReadPos[ID] = 0;
  BFA_WrtePos[ID] = 0;
  std::vector<char>().swap(BFA_FileBuffer[ID]);
  BFA_OpenedCRC32[ID] = 0;
}

}  // namespace

void BFA_Activate(int ID, int mode) {
  if (!ValidChannel(ID)) {
    ShowActivateInvalid(ID);
    return;
  }
  if (mode < 0 || mode > 3) return;
  ResetChannel(ID, mode + 1);
  // Tested after the reset on purpose: re-activating the current channel pushes it.
  if (BFA_IsActive(BFA_ChanID)) BFA_PreviousFileID.push_back(static_cast<unsigned char>(BFA_ChanID));
  BFA_ChanID = ID;
  BFA = &BFA_FileBuffer[ID];
}

void BFA_ResetAll() {
  for (int id = 0; id < BFA_CHANNEL_COUNT; ++id) ResetChannel(id, 0);
  BFA_ChanID = 0;
  BFA_PreviousFileID.clear();
  BFA = &BFA_FileBuffer[0];
}

void BFA_Disable(int ID) {
  if (!ValidChannel(ID)) {
    ShowDisableInvalid(ID);
    return;
  }
  ResetChannel(ID, 0);
  if (!BFA_PreviousFileID.empty()) {
    BFA_ChanID = BFA_PreviousFileID.back();
    BFA_PreviousFileID.pop_back();
  }
  BFA = &BFA_FileBuffer[BFA_ChanID];
}

void BFA_Switch(int ID) {
  if (!ValidChannel(ID)) {
    ShowSwitchInvalid(ID);
    return;
  }
  if (!BFA_IsActive(ID)) {
    ShowSwitchInactive(ID);
    return;
  }
  BFA_ChanID = ID;
}

int BFA_GetStatus(int ID) { return ValidChannel(ID) ? BFA_AccessMode[ID] : 0; }

bool BFA_IsActive(int ID) { return BFA_GetStatus(ID) != 0; }

bool BFA_canloadfiles(int ID) {
  const int stored = BFA_GetStatus(ID);
  return stored == 1 || stored == 2;
}

bool BFA_cansavefiles(int ID) {
  const int stored = BFA_GetStatus(ID);
  return stored >= 2 && stored <= 4;
}

bool BFA_canreadfiles(int ID) {
  const int stored = BFA_GetStatus(ID);
  return stored == 1 || stored == 2 || stored == 4;
}

bool BFA_canwritefiles(int ID) { return BFA_cansavefiles(ID); }

void BFA_SetRead(bitcounter location) {
  // Compared in bytes so that an empty buffer (no readable bit) refuses every location without underflow.
  if (location / 8 >= CurrentBuffer().size()) {
    ShowSetReadFailed(location);
    return;
  }
  CurrentRead() = location;
}

void BFA_SetWrte(bitcounter location) {
  if (location > SizeInBits(CurrentBuffer())) {
    ShowSetWrteFailed(location);
    return;
  }
  CurrentWrite() = location;
}

bitcounter BFA_GetRead() { return CurrentRead(); }

bitcounter BFA_GetWrte() { return CurrentWrite(); }

bitcounter BFA_GetSize() { return static_cast<bitcounter>(CurrentBuffer().size()); }

bool BFA_IsAtEnd() { return CurrentBuffer().size() == CurrentRead() / 8; }

crc32 BFA_GetCRC32() { return Checksum(CurrentBuffer().data(), CurrentBuffer().size()); }
