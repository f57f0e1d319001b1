#include "tests/gui/menu_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "gui/HelioWin.h"
#include "platform/dialogs.h"
#include "platform/system_sound.h"
#include "platform/window.h"
#include "resources/skin.h"
#include "platform/allegro_include.h"
#include "shell/base/variables.h"
#include "tests/common/headless_allegro.h"

namespace {

void DumpItem(const CMenuItem& item, std::vector<std::string>& rows) {
  std::ostringstream row;
  row << item.level << " type=" << item.type << " id=" << std::hex << std::uppercase << item.ID << std::dec
      << " state=" << item.state << " icon=" << item.icon
      << " check=" << (item.ischeck ? (item.checked ? "on" : "off") : "-") << " group=" << std::hex << item.checkgroup
      << std::dec << " '" << item.text << "' w=" << item.text_w << " n=" << item.children;
  rows.push_back(row.str());
  for (const CMenuItem* e : item.sub) DumpItem(*e, rows);
}

// Allegro without a display and the built-in pictures the menus draw with.
class AllegroEnvironment : public HeadlessAllegroEnvironment {
 public:
  void SetUp() override {
    HeadlessAllegroEnvironment::SetUp();
    LoadBuiltinResources();
  }
  void TearDown() override { DestroyBuiltinResources(); }
};

const auto* const kAllegro = ::testing::AddGlobalTestEnvironment(new AllegroEnvironment);

}  // namespace

std::vector<std::string> DumpMenuBar(const CHG_WAppMenu& bar) {
  std::vector<std::string> rows;
  for (const CMenuItem* t : bar.items) DumpItem(*t, rows);
  return rows;
}

std::vector<std::string> DumpToolBar(const CHG_WToolBar& bar) {
  std::vector<std::string> rows;
  for (const CToolItem* b : bar.items) {
    std::ostringstream row;
    row << b->num << " x=" << b->ix << " y=" << b->iy << " id=" << std::hex << std::uppercase << b->ID << std::dec
        << " state=" << b->state << " icon=" << b->icon << " sticky=" << b->sticky << " group=" << std::hex
        << b->checkgroup << std::dec << " '" << b->tooltip << "' w=" << b->tiplen;
    rows.push_back(row.str());
  }
  return rows;
}

OwnTable::OwnTable(std::string description, int mode) : text(std::move(description)) {
  for (int i = 0; i < 3; ++i) entries[i] = "[]";
  entries[mode] = text.c_str();
}

GuiHarness::GuiHarness(int mode, int w, int h) : window(new HeadlessWindow) {
  PlatformUseHeadlessWindow(*window);
  ENGINE_STATE = mode;
  STATEOVER = false;
  PlatformUseScriptedDialogs([this](const DialogRecord& r) {
    events.push_back("box " + r.title);
    return std::string(r.kind == BoxKind::Question ? "no" : r.kind == BoxKind::Open ? "" : "ok");
  });
  UseRecordingSystemSound([this](const std::string& alias, bool wait) {
    events.push_back("sound " + alias + (wait ? " wait" : " async"));
  });
  gui = new CHelioGUI;
  gui->w = w;
  gui->h = h;
  frame = create_bitmap_ex(32, w, h);
  mouse_q = 0;
  RegisterDescribedCommands();
}

void GuiHarness::RegisterRecorded(CommandId id, CommandHandler inner) {
  RegisterCommand(id, {[this, id, run = inner.run] {
                         const bool sound = !events.empty() && events.back().rfind("sound MenuCommand", 0) == 0;
                         char text[32];
                         std::snprintf(text, sizeof text, "command %04X %s", id, sound ? "sound" : "silent");
                         events.push_back(text);
                         if (run) run();
                       },
                       inner.available, inner.checked});
}

void GuiHarness::RegisterDescribedCommands() {
  std::vector<const CMenuItem*> open(gui->m->items.begin(), gui->m->items.end());
  while (!open.empty()) {
    const CMenuItem* e = open.back();
    open.pop_back();
    open.insert(open.end(), e->sub.begin(), e->sub.end());
    if (e->type == 3 && FindCommand(static_cast<CommandId>(e->ID)) == nullptr) {
      RegisterRecorded(static_cast<CommandId>(e->ID));
    }
  }
  for (const CToolItem* b : gui->t->items) {
    if (FindCommand(static_cast<CommandId>(b->ID)) == nullptr) RegisterRecorded(static_cast<CommandId>(b->ID));
  }
}

GuiHarness::~GuiHarness() {
  delete gui;
  mui = nullptr;
  destroy_bitmap(frame);
  PlatformUseDesktopDialogs();
  UseDriverSystemSound();
  PlatformUseX11Window();
  delete window;
  ENGINE_STATE = 0;
  STATEOVER = false;
  mouse_q = 0;
}

void GuiHarness::Step(int x, int y, int q) {
  mouse_x = x;
  mouse_y = y;
  mouse_q = q;
  gui->t->Proc(gui->w, gui->h);
  gui->m->Proc(gui->w, gui->h);
  clear_to_color(frame, 0xFF0F3F7F);
  gui->t->Draw(frame, gui->w, gui->h);
  gui->m->Draw(frame, gui->w, gui->h);
}

void GuiHarness::Click(int x, int y) {
  Step(x, y, 1);
  Step(x, y, 3);
  Step(x, y, 0);
}

CHG_WAppMenu& GuiHarness::menu() { return *gui->m; }
CHG_WToolBar& GuiHarness::tools() { return *gui->t; }

CMenuItem* GuiHarness::Entry(std::initializer_list<const char*> path) {
  const std::vector<CMenuItem*>* level = &gui->m->items;
  CMenuItem* found = nullptr;
  for (const char* label : path) {
    found = nullptr;
    for (CMenuItem* item : *level) {
      if (item->text == label) found = item;
    }
    if (found == nullptr) return nullptr;
    level = &found->sub;
  }
  return found;
}

std::vector<std::string> GuiHarness::Only(const std::string& kind) const {
  std::vector<std::string> out;
  for (const std::string& e : events) {
    if (e.rfind(kind + " ", 0) == 0) out.push_back(e);
  }
  return out;
}
