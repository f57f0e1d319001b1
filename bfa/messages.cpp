// Every message box the BFA library shows, with its exact title and text, in one place.
#include "bfa/bfa_internal.h"

#include "shell/base/functions.h"

namespace bfa_detail {
namespace {

// Channel number as two upper-case hex digits (only the low 8 bits of an out-of-range number appear).
std::string Channel(int ID) { return int2hexstr(ID, 2); }

// A size or position in bits as eight upper-case hex digits.
std::string Bits(bitcounter value) { return int2hexstr(static_cast<int>(value), 8); }

// The current channel's mode (0 to 3) and its permitted-operations text. Only called once the channel is
// known to be activated, so the stored mode is 1 to 4.
std::string CurrentMode() { return int2string(BFA_AccessMode[BFA_ChanID] - 1, 1); }
std::string CurrentOperations() { return BFA_permitted_operations[BFA_AccessMode[BFA_ChanID] - 1]; }

std::string CurrentSizeInBits() { return Bits(SizeInBits(CurrentBuffer())); }

std::string Quoted(const char* filename) { return std::string("\"") + (filename ? filename : "") + "\""; }

const char* const kRangeNote = " was specified.\nYou can only use channels 0x00 through 0x12.";

// The first line of an activation or permission message, naming what was refused.
std::string Refused(Operation op, const char* filename) {
  switch (op) {
    case Operation::Read: return "Could not read from the buffer.";
    case Operation::GetBits: return "Could not set the buffer's read position.";
    case Operation::Write: return "Could not write to the buffer.";
    case Operation::Load: return "Could not load " + Quoted(filename) + ".";
    case Operation::Save: return "Could not save " + Quoted(filename) + ".";
  }
  return {};
}

bool Permitted(Operation op) {
  switch (op) {
    case Operation::Read:
    case Operation::GetBits: return BFA_canreadfiles(BFA_ChanID);
    case Operation::Write: return BFA_canwritefiles(BFA_ChanID);
    case Operation::Load: return BFA_canloadfiles(BFA_ChanID);
    case Operation::Save: return BFA_cansavefiles(BFA_ChanID);
  }
  return false;
}

// M8, M10, M15, M19, M22.
void ShowDenied(Operation op, const char* filename) {
  const char* title = "";
  const char* verb = "";
  switch (op) {
    case Operation::Read:
      title = "Read Operation Denied";
      verb = "read the buffer";
      break;
    case Operation::GetBits:
      title = "BFA_get_bits Operation Denied";
      verb = "read the buffer";
      break;
    case Operation::Write:
      title = "Write Operation Denied";
      verb = "write the buffer";
      break;
    case Operation::Load:
      title = "Load Operation Denied";
      verb = "load files";
      break;
    case Operation::Save:
      title = "Save Operation Denied";
      verb = "save files";
      break;
  }
  ErrorBox(Refused(op, filename) + "\nBFAR channel 0x" + Channel(BFA_ChanID) + " is open in Mode " + CurrentMode() +
               ".\nYou can not " + verb + " in this mode.\n\nPermitted Operations: " + CurrentOperations(),
           title);
}

}  // namespace

bool ChannelAllows(Operation op, const char* filename) {
  if (!BFA_IsActive(BFA_ChanID)) {
    // M7 (reads, BFA_get_bits included), M14, M18, M21.
    const Operation shown = op == Operation::GetBits ? Operation::Read : op;
    ErrorBox(Refused(shown, filename) + "\nBFAR channel 0x" + Channel(BFA_ChanID) + " has not been activated.",
             "Channel Not Activated");
    return false;
  }
  if (!Permitted(op)) {
    ShowDenied(op, filename);
    return false;
  }
  return true;
}

bool ReadPositionInside() {
  const bitcounter pos = CurrentRead();
  if (pos / 8 < CurrentBuffer().size()) return true;
  // M9
  ErrorBox(
      "Could not read from the buffer.\nThe read position was geater than the\nposition of the last bit in the "
      "file.\n\nBuffer Size:\t0x" +
          CurrentSizeInBits() + " bits.\nRead Position:\t0x" + Bits(pos),
      "Read Operation Failed");
  return false;
}

void ShowSwitchInvalid(int ID) {
  ErrorBox("Error while attempting to switch the active channel.\nThe invalid parameter 0x" + Channel(ID) + kRangeNote,
           "Invalid Channel Parameter");
}

void ShowSwitchInactive(int ID) {
  ErrorBox("Error while attempting to switch the active channel.\nChannel 0x" + Channel(ID) +
               " was specified, but it has not been activated yet.\nYou cannot use a channel that has not been "
               "activated.",
           "Channel Not Activated");
}

void ShowActivateInvalid(int ID) {
  ErrorBox("Error while attempting to activate the channel.\nThe invalid parameter 0x" + Channel(ID) + kRangeNote,
           "Invalid Channel Parameter");
}

void ShowDisableInvalid(int ID) {
  ErrorBox("Error while attempting to deactivate the channel.\nThe invalid parameter 0x" + Channel(ID) + kRangeNote,
           "Invalid Channel Parameter");
}

void ShowSetReadFailed(bitcounter location) {
  ErrorBox(
      "Could not set the buffer's read position.\nThe value supplied was geater than the\nposition of the last "
      "bit in the file.\n\nBuffer Size:\t0x" +
          CurrentSizeInBits() + " bits.\nSetRead Param:\t0x" + Bits(location),
      "SetRead Operation Failed");
}

void ShowSetWrteFailed(bitcounter location) {
  ErrorBox(
      "Could not set the buffer's write position.\nThe value supplied was geater than the\nposition of the last "
      "writable bit in the file.\n\nBuffer Size:\t0x" +
          CurrentSizeInBits() + " bits.\nSetWrte Param:\t0x" + Bits(location),
      "SetWrte Operation Failed");
}

void ShowGetBitsFailed(bitcounter location) {
  ErrorBox(
      "Could not set the buffer's read position.\nThe equation (bits_to_skip + ReadPos) was geater than the\n"
      "position of the last bit in the file.\n\nBuffer Size:\t0x" +
          CurrentSizeInBits() + " bits.\nSetRead Position:\t0x" + Bits(location),
      "BFA_get_bits Operation Failed");
}

void ShowCharSizeUnsupported(int char_size, bool writing) {
  const char* verb = writing ? "write" : "read";
  if (char_size > 8) {
    ErrorBox(std::string("This program cannot ") + verb + " strings which use more than 8 bits per character.",
             "Large Characters Unsupported");
    return;
  }
  const std::string n = int2string(char_size, 1);
  ErrorBox(std::string("No code exists to ") + verb + " strings which use " + n + " bits per character.",
           n + "-bit Characters Unsupported");
}

void ShowOpenFailed(const char* filename) {
  ErrorBox("Could not open " + Quoted(filename) +
               ". Please make sure that the file exists and is not in use by another program.",
           "Error opening file!");
}

void ShowSaveFailed(const char* filename) {
  ErrorBox("Could not create " + Quoted(filename) + ".", "Error saving file!");
}

}  // namespace bfa_detail
