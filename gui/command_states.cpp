#include "gui/command_states.h"

#include "gui/MenuMain.h"
#include "gui/ToolbarMain.h"
#include "gui/commands.h"

namespace {

void RefreshEntry(CMenuItem* e) {
  for (CMenuItem* child : e->sub) RefreshEntry(child);
  if (e->type != 3) return;
  const bool usable = e->listed_enabled && CommandAvailable(static_cast<unsigned short>(e->ID));
  if (!usable) {
    e->state = 0;
  } else if (e->state == 0) {
    e->state = 1;
  }
  // Asked only while the entry's menu is open (or its title hovered): the answer may cost a look at the disk.
  const bool shown = e->parent == nullptr || e->parent->state >= 2;
  if (shown) e->greyed = usable && CommandGreyed(static_cast<unsigned short>(e->ID));
  const CommandHandler* handler = FindCommand(static_cast<unsigned short>(e->ID));
  if (e->ischeck && handler != nullptr && handler->checked != nullptr) e->checked = handler->checked();
}

}  // namespace

void RefreshCommandStates(CHG_WAppMenu& menu) {
  for (CMenuItem* title : menu.items) RefreshEntry(title);
}

void RefreshCommandStates(CHG_WToolBar& tools) {
  for (CToolItem* b : tools.items) {
    const unsigned short id = static_cast<unsigned short>(b->ID);
    const bool usable = b->listed_enabled && CommandAvailable(id);
    bool down = b->state == 3 || b->state == 4;
    const CommandHandler* handler = FindCommand(id);
    if (b->sticky && handler != nullptr && handler->checked != nullptr) down = handler->checked();
    if (!usable) {
      b->state = down ? 4 : 0;
    } else if (down) {
      b->state = 3;
    } else if (b->state != 1 && b->state != 2) {
      b->state = 1;
    }
  }
}
