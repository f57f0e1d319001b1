#include "level/rom_access.h"

#include "bfa/bfa.h"

RomView CurrentRom() {
  const auto& image = QBR1;
  return RomView(reinterpret_cast<const unsigned char*>(image.data()), image.size());
}

unsigned QBR1_Byte(long long o) { return CurrentRom().Byte(o); }

unsigned QBR1_Word(long long o) { return CurrentRom().Word(o); }

unsigned long QBR1_Long(long long o) { return CurrentRom().Long(o); }
