#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "editor/classes.h"
#include "editor/edit_tool.h"
#include "editor/input_snapshot.h"
#include "gui/command_ids.h"
#include "shell/base/installed.h"

// The level editor's edit tools: registered by command number, one current. The
// tool box is an instance the program object holds and installs (a test installs
// a fresh one); the functions below act on the one in force.

// Makes a tool; called once, when the tool is first chosen.
using EditToolFactory = std::function<std::unique_ptr<EditTool>()>;

// The registered tools, the current one and what the box follows between updates.
struct EditToolBox {
  static constexpr const char* kInstalledName = "the edit tool box";
  struct Registered {
    CommandId command;
    EditToolFactory factory;
    std::unique_ptr<EditTool> tool;  // made when first chosen; kept across levels
  };
  std::vector<Registered> tools;
  CommandId current = 0;
  CCamera* camera = nullptr;  // the level editor's camera while attached
  InputReader input;
  unsigned long long seen_generation = 0;  // QBR1_EditGeneration at the last look
};

// The edit tool box in force (Installed<EditToolBox>).
EditToolBox& EditTools();

// Registers a tool under command `command`: the command (available while the
// level editor runs, checked while the tool is current) chooses it, and so does
// Ctrl + `key` (an Allegro key code; 0 for no shortcut). The first tool
// registered is current until another is chosen. Registering a command again
// replaces its tool.
void RegisterEditTool(CommandId command, int key, EditToolFactory factory);

// Makes the tool of `command` current (a gesture of the old one ends first);
// false when no tool has that command.
bool ChooseEditTool(CommandId command);
// The current tool's command (0 before any registration), and the tool (null then).
CommandId CurrentEditToolCommand();
EditTool* CurrentEditTool();

// The level editor calls these: Attach when its camera is built, Proc once per
// logic update after the camera's Proc, Draw after the camera's Draw, Detach
// before the camera goes.
void EditToolsAttach(CCamera& camera);
void EditToolsProc(CCamera& camera, const InputSnapshot& in);
void EditToolsDraw(BITMAP* dest, const CCamera& camera);
void EditToolsDetach();

// Reads this update's input over the camera's view (once per logic update,
// before the camera's Proc, which moves the view by it).
InputSnapshot ReadEditInput(const CCamera& camera);

// Whether window pixel (x, y) belongs to the current tool's wheel (the tile
// picker), not the view's.
bool EditToolOwnsWheelAt(int x, int y);
