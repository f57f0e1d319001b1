#include "level/level_objects.h"

#include "level/level_records.h"
#include "level/rom_access.h"

namespace {

long long ScriptAt(unsigned address) { return kQBR1ObjectScriptBank | address; }

}  // namespace

QBR1ObjectScript QBR1_WalkObjectScripts(int zo) {
  const RomView rom = CurrentRom();
  QBR1ObjectScript s;
  const long long start = ScriptAt(static_cast<unsigned>(zo) & 0xFFFF);
  long long at = start;
  for (int step = 0; step < kQBR1MaxScriptSteps; ++step) {
    const unsigned c = rom.Word(at), op = rom.Word(at + 2);
    if (c == 0x8000) break;
    if (c == 0x8800) {
      s.pal = static_cast<int>(kQBR1ObjectPaletteBank | op);
      break;
    }
    at = c == 0x8200 ? ScriptAt(op) : at + 4;
  }
  at = start;
  for (int step = 0; step < kQBR1MaxScriptSteps; ++step) {
    const unsigned c = rom.Word(at), op = rom.Word(at + 2);
    if (c == 0x8000) break;
    if (c == 0x8100) {
      s.ani = static_cast<int>(op);
      break;
    }
    at = c == 0x8200 ? ScriptAt(op) : at + 4;
  }
  if (s.ani != 0) s.spr = QBR1_AnimationSprite(s.ani);
  return s;
}

int QBR1_AnimationSprite(int ani) {
  const RomView rom = CurrentRom();
  long long at = kQBR1AnimationBank | rom.Word(kQBR1AnimationTable + 2LL * ani);
  for (int step = 0; step < kQBR1MaxScriptSteps; ++step) {
    const unsigned c = rom.Byte(at);
    if (c < 0x80) return static_cast<int>(rom.Word(at + 1));
    switch (c) {
      case 0x82: at = kQBR1AnimationBank | rom.Word(at + 2); break;
      case 0x8E:
      case 0x8F:
      case 0x90: at += 2; break;
      case 0x83:
      case 0x8C: at += 3; break;
      case 0x81:
      case 0x84: at += 4; break;
      case 0x88:
      case 0x8D: at += 5; break;
      case 0x85: at += 6; break;
      case 0x87:
      case 0x8B: at += 8; break;
      case 0x86: at += 10; break;
      default: return 0;  // 0x80, 0x89, 0x8A and everything above 0x90 end the script
    }
  }
  return 0;
}

std::vector<QBR1ObjectRecord> QBR1_ReadObjectMap(const leveldata& lvl) {
  const RomView rom = CurrentRom();
  std::vector<QBR1ObjectRecord> out;
  // Past the end of the image every byte reads 0, which is the end record.
  long long at = lvl.objects;
  for (int n = 0; n < kQBR1MaxObjectRecords && rom.Byte(at) != 0; ++n, at += 8) {
    QBR1ObjectRecord r;
    r.kind = static_cast<int>(rom.Byte(at));
    // Signed 16-bit differences, as the editor stores them: every position of
    // a vertical level taller than 512 pixels, and of a level whose start lies
    // near the top of the map's 64 KiB, reads back as written.
    r.x = QBR1_DecodeObjectX(rom.Word(at + 2), lvl.x);
    r.y = QBR1_DecodeObjectHeight(rom.Word(at + 4));
    r.zo = static_cast<int>(rom.Word(at + 6));
    out.push_back(r);
  }
  return out;
}

std::vector<QBR1BananaGroup> QBR1_ReadBananaMap(const leveldata& lvl) {
  const RomView rom = CurrentRom();
  std::vector<QBR1BananaGroup> out;
  long long at = static_cast<unsigned>(lvl.bananas);
  for (int n = 0; n < kQBR1MaxBananaGroups; ++n, at += 4) {
    const unsigned w0 = rom.Word(at);
    QBR1BananaGroup g;
    g.shape = static_cast<int>(w0 & 0x3FE);
    if (g.shape == 0) break;
    g.y = 8 * static_cast<int>(w0 >> 10);
    g.x = static_cast<int>(rom.Word(at + 2) >> 2);
    g.grid = kQBR1BananaShapeTable + rom.Word(kQBR1BananaShapeTable + g.shape);
    g.columns = static_cast<int>(rom.Byte(g.grid));
    g.rows = static_cast<int>(rom.Byte(g.grid + 1));
    out.push_back(g);
  }
  return out;
}

bool QBR1_BananaCell(const QBR1BananaGroup& g, int c, int r) {
  const long long z = static_cast<long long>(c) * g.rows + (g.rows - 1 - r);
  return (QBR1_Byte(g.grid + 2 + z / 8) >> (z & 7)) & 1;
}
