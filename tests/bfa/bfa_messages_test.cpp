// The message catalogue: each row provokes exactly one box and checks its title and text to the character.
#include "tests/bfa/bfa_fixture.h"

#include <functional>

namespace {

struct Case {
  const char* row;
  std::function<void()> provoke;
  std::string title;
  std::string text;
};

}  // namespace

TEST_F(BfaTest, EveryCatalogueMessageHasItsExactTitleAndText) {
  const std::string missingFile = Scratch("missing.smc");
  const std::string noDir = Scratch("no/such/dir/out.bin");
  const std::string existing = Scratch("rom.smc");
  WriteFileBytes(existing, {1, 2, 3});
  const std::string range = " was specified.\nYou can only use channels 0x00 through 0x12.";

  const Case cases[] = {
      {"M1", [] { BFA_Switch(0x13); }, "Invalid Channel Parameter",
       "Error while attempting to switch the active channel.\nThe invalid parameter 0x13" + range},
      {"M1 negative", [] { BFA_Switch(-1); }, "Invalid Channel Parameter",
       "Error while attempting to switch the active channel.\nThe invalid parameter 0xFF" + range},
      {"M2", [] { BFA_Switch(0x05); }, "Channel Not Activated",
       "Error while attempting to switch the active channel.\nChannel 0x05 was specified, but it has not been "
       "activated yet.\nYou cannot use a channel that has not been activated."},
      {"M3", [] { BFA_Activate(0x13, 0); }, "Invalid Channel Parameter",
       "Error while attempting to activate the channel.\nThe invalid parameter 0x13" + range},
      {"M3 negative", [] { BFA_Activate(-1, 0); }, "Invalid Channel Parameter",
       "Error while attempting to activate the channel.\nThe invalid parameter 0xFF" + range},
      {"M4", [] { BFA_Disable(0x120); }, "Invalid Channel Parameter",
       "Error while attempting to deactivate the channel.\nThe invalid parameter 0x20" + range},
      {"M5",
       [this] {
         Channel(0x01, 1, {1, 2, 3, 4});
         BFA_SetRead(32);
       },
       "SetRead Operation Failed",
       "Could not set the buffer's read position.\nThe value supplied was geater than the\nposition of the last bit "
       "in the file.\n\nBuffer Size:\t0x00000020 bits.\nSetRead Param:\t0x00000020"},
      {"M6",
       [this] {
         Channel(0x01, 1, {1, 2, 3, 4});
         BFA_SetWrte(33);
       },
       "SetWrte Operation Failed",
       "Could not set the buffer's write position.\nThe value supplied was geater than the\nposition of the last "
       "writable bit in the file.\n\nBuffer Size:\t0x00000020 bits.\nSetWrte Param:\t0x00000021"},
      {"M7", [] { BFA_get_int(8); }, "Channel Not Activated",
       "Could not read from the buffer.\nBFAR channel 0x00 has not been activated."},
      {"M7 get_bits", [] { BFA_get_bits(8); }, "Channel Not Activated",
       "Could not read from the buffer.\nBFAR channel 0x00 has not been activated."},
      {"M8",
       [this] {
         Channel(0x10, 2, {1});
         BFA_get_bool();
       },
       "Read Operation Denied",
       "Could not read from the buffer.\nBFAR channel 0x10 is open in Mode 2.\nYou can not read the buffer in this "
       "mode.\n\nPermitted Operations: Save, Write"},
      {"M9",
       [this] {
         Channel(0x03, 1, {1});
         BFA_get_int(8);
         BFA_get_int(1);
       },
       "Read Operation Failed",
       "Could not read from the buffer.\nThe read position was geater than the\nposition of the last bit in the "
       "file.\n\nBuffer Size:\t0x00000008 bits.\nRead Position:\t0x00000008"},
      {"M10",
       [this] {
         Channel(0x11, 2, {1});
         BFA_get_bits(1);
       },
       "BFA_get_bits Operation Denied",
       "Could not set the buffer's read position.\nBFAR channel 0x11 is open in Mode 2.\nYou can not read the "
       "buffer in this mode.\n\nPermitted Operations: Save, Write"},
      {"M11",
       [this] {
         Channel(0x01, 1, {1, 2});
         BFA_ReadPos[1] = 4;
         BFA_get_bits(-8);
       },
       "BFA_get_bits Operation Failed",
       "Could not set the buffer's read position.\nThe equation (bits_to_skip + ReadPos) was geater than the\n"
       "position of the last bit in the file.\n\nBuffer Size:\t0x00000010 bits.\nSetRead Position:\t0xFFFFFFFC"},
      {"M12",
       [this] {
         Channel(0x01, 1, {1});
         BFA_get_str(7);
       },
       "7-bit Characters Unsupported", "No code exists to read strings which use 7 bits per character."},
      {"M13",
       [this] {
         Channel(0x01, 1, {1});
         BFA_get_str(9);
       },
       "Large Characters Unsupported", "This program cannot read strings which use more than 8 bits per character."},
      {"M14", [] { BFA_set_int(1, 1); }, "Channel Not Activated",
       "Could not write to the buffer.\nBFAR channel 0x00 has not been activated."},
      {"M15",
       [this] {
         Channel(0x12, 0, {});
         BFA_set_bool(1);
       },
       "Write Operation Denied",
       "Could not write to the buffer.\nBFAR channel 0x12 is open in Mode 0.\nYou can not write the buffer in this "
       "mode.\n\nPermitted Operations: Load, Read"},
      {"M16",
       [this] {
         Channel(0x01, 1, {});
         BFA_set_str("A", 5);
       },
       "5-bit Characters Unsupported", "No code exists to write strings which use 5 bits per character."},
      {"M17",
       [this] {
         Channel(0x01, 1, {});
         BFA_set_str("A", 12);
       },
       "Large Characters Unsupported", "This program cannot write strings which use more than 8 bits per character."},
      {"M18", [&] { BFA_Load(existing.c_str()); }, "Channel Not Activated",
       "Could not load \"" + existing + "\".\nBFAR channel 0x00 has not been activated."},
      {"M19",
       [&] {
         Channel(0x10, 3, {});
         BFA_Load(existing.c_str());
       },
       "Load Operation Denied",
       "Could not load \"" + existing +
           "\".\nBFAR channel 0x10 is open in Mode 3.\nYou can not load files in this "
           "mode.\n\nPermitted Operations: Save, Read, Write"},
      {"M20",
       [&] {
         Channel(0x10, 1, {});
         BFA_Load(missingFile.c_str());
       },
       "Error opening file!",
       "Could not open \"" + missingFile +
           "\". Please make sure that the file exists and is not in use by another program."},
      {"M20 CRC", [&] { BFA_LoadCRC32(missingFile.c_str()); }, "Error opening file!",
       "Could not open \"" + missingFile +
           "\". Please make sure that the file exists and is not in use by another program."},
      {"M21", [&] { BFA_Save(noDir.c_str()); }, "Channel Not Activated",
       "Could not save \"" + noDir + "\".\nBFAR channel 0x00 has not been activated."},
      {"M22",
       [&] {
         Channel(0x02, 0, {1});
         BFA_Save(noDir.c_str());
       },
       "Save Operation Denied",
       "Could not save \"" + noDir +
           "\".\nBFAR channel 0x02 is open in Mode 0.\nYou can not save files in this "
           "mode.\n\nPermitted Operations: Load, Read"},
      {"M23",
       [&] {
         Channel(0x02, 1, {1});
         BFA_Save(noDir.c_str());
       },
       "Error saving file!", "Could not create \"" + noDir + "\"."},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    BFA_ResetAll();
    boxes_.clear();
    c.provoke();
    const DialogRecord box = OnlyBox();
    EXPECT_EQ(box.title, c.title);
    EXPECT_EQ(box.text, c.text);
  }
}

// The mode shown by the permission messages is the stored value minus one, with that mode's own text.
TEST_F(BfaTest, PermissionMessagesNameEachModeAndItsOperations) {
  struct ModeCase {
    int mode;
    std::function<void()> refused;
    const char* title;
    const char* line;
  };
  const std::string file = Scratch("f.bin");
  const ModeCase cases[] = {
      {0, [] { BFA_set_last(true); }, "Write Operation Denied",
       "Mode 0.\nYou can not write the buffer in this mode.\n\nPermitted Operations: Load, Read"},
      {2, [&] { BFA_Load(file.c_str()); }, "Load Operation Denied",
       "Mode 2.\nYou can not load files in this mode.\n\nPermitted Operations: Save, Write"},
      {2, [] { BFA_get_str(8); }, "Read Operation Denied",
       "Mode 2.\nYou can not read the buffer in this mode.\n\nPermitted Operations: Save, Write"},
      {3, [&] { BFA_Load(file.c_str()); }, "Load Operation Denied",
       "Mode 3.\nYou can not load files in this mode.\n\nPermitted Operations: Save, Read, Write"},
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(c.title);
    BFA_ResetAll();
    boxes_.clear();
    Channel(0x07, c.mode, {0x55});
    c.refused();
    const DialogRecord box = OnlyBox();
    EXPECT_EQ(box.title, c.title);
    EXPECT_NE(box.text.find(std::string("BFAR channel 0x07 is open in ") + c.line), std::string::npos) << box.text;
  }
}
