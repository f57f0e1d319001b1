#include "shell/app/mode_switch.h"

#include "gui/commands.h"
#include "rom/AppMenu.h"
#include "rom/open_image.h"
#include "rom/patch_open.h"

Mode StartupModeChoice = Mode::LevelEditor;

namespace {

// The mode of each entry; the physmap editor has none.
constexpr std::optional<Mode> kEntryMode[kModeEntries] = {Mode::LevelEditor,   Mode::Extraction, Mode::SpriteViewer,
                                                          Mode::PaletteEditor, std::nullopt,     Mode::HexEditor};

}  // namespace

std::optional<Mode> ModeOfCommand(CommandId id) {
  for (CommandId first : {kCmdModeMenuFirst, kCmdStartupModeFirst})
    if (id >= first && id < first + kModeEntries) return kEntryMode[id - first];
  return std::nullopt;
}

bool ModeRegistered(Mode mode) { return FindModeFunction(mode) != nullptr; }

bool SwitchToMode(Mode mode) {
  if (!ModeRegistered(mode) || !TheImage().IsOpen() || mode == CurrentMode()) return false;
  RequestMode(mode);
  return true;
}

void ChooseStartupMode(Mode mode) {
  if (!ModeRegistered(mode)) return;
  if (TheImage().IsOpen()) SwitchToMode(mode);
  else StartupModeChoice = mode;
}

Mode ModeAfterOpen() {
  if (CurrentMode() == Mode::StartupScreen && ModeRegistered(StartupModeChoice)) return StartupModeChoice;
  return Mode::LevelEditor;
}

void OpenAndEnterMode() {
  if (AppMenuOpenImage()) RequestMode(ModeAfterOpen());
}

void OpenPatchAndEnterMode() {
  if (OpenPatchWithDialogs()) RequestMode(ModeAfterOpen());
}

void RegisterModeSwitchCommands() {
  // One handler per family; each entry carries its mode.
  for (int entry = 0; entry < kModeEntries; ++entry) {
    const std::optional<Mode> mode = ModeOfCommand(static_cast<CommandId>(kCmdModeMenuFirst + entry));
    RegisterCommand(static_cast<CommandId>(kCmdModeMenuFirst + entry),
                    {[mode] { if (mode) SwitchToMode(*mode); },
                     [mode] { return mode && ModeRegistered(*mode) && TheImage().IsOpen() && *mode != CurrentMode(); },
                     nullptr});
    RegisterCommand(static_cast<CommandId>(kCmdStartupModeFirst + entry),
                    {[mode] { if (mode) ChooseStartupMode(*mode); },
                     [mode] { return mode && ModeRegistered(*mode); }, nullptr});
  }
}
