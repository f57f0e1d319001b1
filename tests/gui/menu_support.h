#pragma once

#include <string>
#include <vector>

#include "gui/MenuMain.h"
#include "gui/commands.h"
#include "gui/ToolbarMain.h"
#include "tests/common/input_state.h"

// Menu and toolbar trees flattened to one text row per item, in description
// order, so whole trees compare with one assertion and a readable diff.
std::vector<std::string> DumpMenuBar(const CHG_WAppMenu& bar);
std::vector<std::string> DumpToolBar(const CHG_WToolBar& bar);

// A description table whose entry `mode` is `text` and whose other entries are "[]".
struct OwnTable {
  std::string text;
  const char* entries[3];
  OwnTable(std::string description, int mode);
  OwnTable(const OwnTable&) = delete;
  OwnTable& operator=(const OwnTable&) = delete;
};

class CHelioGUI;
struct HeadlessWindow;

// A live GUI root over a headless window, with the built-in skin loaded, a frame
// bitmap to draw into, and a scripted mouse. Records every sound, box and
// recorded command in `events` ("command <id> <sound>", "sound <alias> <wait>",
// "box <title>"); a command counts as chosen with sound when the dispatcher
// played the command sound right before it ran.
class GuiHarness {
 public:
  GuiHarness(int mode, int w, int h);
  ~GuiHarness();
  GuiHarness(const GuiHarness&) = delete;
  GuiHarness& operator=(const GuiHarness&) = delete;

  // One logic update with the mouse at (x, y) and the button in four-state `q`,
  // followed by one frame (Draw sets what is choosable in the next update).
  void Step(int x, int y, int q);
  // Moves there without a click: one update with the button idle.
  void Move(int x, int y) { Step(x, y, 0); }
  // Press and release at (x, y): the updates of a click.
  void Click(int x, int y);

  // Registers a recording handler for every command of the current menu bar and
  // toolbar not registered yet, so the widgets' own logic is seen as it is with
  // every command available. The constructor does it once.
  void RegisterDescribedCommands();
  // Registers `inner` under `id` so that each run is recorded first.
  void RegisterRecorded(CommandId id, CommandHandler inner = {});

  CHG_WAppMenu& menu();
  CHG_WToolBar& tools();
  // The menu entry reached by following the labels from a title.
  CMenuItem* Entry(std::initializer_list<const char*> path);
  // Events of this kind only ("command", "sound", "box").
  std::vector<std::string> Only(const std::string& kind) const;

  InputStateGuard input;  // Step moves the mouse; the harness puts it back
  Installed<CommandTable> commands;  // a fresh table, in force while the harness lives
  std::vector<std::string> events;
  BITMAP* frame = nullptr;
  CHelioGUI* gui = nullptr;
  HeadlessWindow* window = nullptr;
};
