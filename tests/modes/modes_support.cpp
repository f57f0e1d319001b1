#include "tests/modes/modes_support.h"

#include "bfa/bfa.h"
#include "platform/allegro_include.h"
#include "platform/config_lock.h"
#include "rom/globaldata.h"
#include "rom/image_edits.h"
#include "tests/common/headless_allegro.h"

namespace modes_test {

const DemoImage& Demo() {
  static const DemoImage demo = BuildDemoImage(1);
  return demo;
}

bool InstallDemo() {
  if (!StartHeadlessAllegro()) return false;
  const DemoImage& demo = Demo();
  {
    ConfigGuard guard;
    set_config_data(demo.config.data(), static_cast<int>(demo.config.size()));
    ReadGlobalOffsets(qbr1gbl);
  }
  QBR1.assign(demo.rom.begin(), demo.rom.end());
  QBR1_ResetEdits(demo.rom, 0);
  return true;
}

void RemoveImage() {
  QBR1_ResetEdits({}, 0);
  QBR1.clear();
}

}  // namespace modes_test
