#include "editor/object_scripts.h"

#include "level/rom_access.h"

namespace {

constexpr int kDefinitionBank = 0x350000;
constexpr int kPaletteBank = 0x3C0000;
constexpr int kAnimationBank = 0x3E0000;
constexpr int kAnimationTable = 0x3E8572;
// Far more commands than any real script holds.
constexpr int kMaxSteps = 1024;

enum class Seek { Palette, Animation };

// Walks the definition script for the palette (ends at 0x8800) or the
// animation (ends at 0x8100); returns 0 when the script ends first.
int WalkDefinition(int zo, Seek seek) {
  int at = kDefinitionBank | zo;
  for (int step = 0; step < kMaxSteps; ++step) {
    const int command = QBR1_Word(at);
    const int operand = QBR1_Word(at + 2);
    if (command == 0x8000) return 0;
    if (command == 0x8200) {
      at = kDefinitionBank | operand;
      continue;
    }
    if (seek == Seek::Palette && command == 0x8800) return kPaletteBank | operand;
    if (seek == Seek::Animation && command == 0x8100) return operand;
    at += 4;
  }
  return 0;
}

// Bytes each non-frame command of an animation script occupies; 0 ends the walk.
int AnimationCommandLength(int command) {
  switch (command) {
    case 0x8E: case 0x8F: case 0x90: return 2;
    case 0x83: case 0x8C: return 3;
    case 0x81: case 0x84: return 4;
    case 0x88: case 0x8D: return 5;
    case 0x85: return 6;
    case 0x87: case 0x8B: return 8;
    case 0x86: return 10;
    default: return 0;  // 0x80, 0x89, 0x8A and everything above 0x90 end the script
  }
}

// The sprite number of the first frame of animation `ani`, 0 when none.
int FirstFrameSprite(int ani) {
  int at = kAnimationBank | QBR1_Word(kAnimationTable + 2 * ani);
  for (int step = 0; step < kMaxSteps; ++step) {
    const int command = QBR1_Byte(at);
    if (command < 0x80) return QBR1_Word(at + 1);
    if (command == 0x82) {
      at = kAnimationBank | QBR1_Word(at + 2);
      continue;
    }
    const int length = AnimationCommandLength(command);
    if (length == 0) return 0;
    at += length;
  }
  return 0;
}

}  // namespace

ObjectScript WalkObjectScripts(int zo) {
  ObjectScript script;
  script.pal = WalkDefinition(zo, Seek::Palette);
  script.ani = WalkDefinition(zo, Seek::Animation);
  if (script.ani != 0) script.spr = FirstFrameSprite(script.ani);
  return script;
}
