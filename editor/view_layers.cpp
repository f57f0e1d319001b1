#include "editor/view_layers.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "editor/classes.h"
#include "editor/view_transform.h"
#include "gui/commands.h"
#include "platform/config_lock.h"
#include "platform/allegro_include.h"
#include "rom/settings_store.h"

namespace {

struct LayerEntry {
  const char* key;  // in section "View"
  CommandId command;
  bool by_default;  // when the configuration does not say
};
constexpr LayerEntry kLayers[] = {{"Tiles", kCmdViewTiles, true},
                                  {"Objects", kCmdViewObjects, true},
                                  {"Bananas", kCmdViewBananas, true},
                                  {"Grid", kCmdViewGrid, false}};
constexpr int kLayerCount = 4;
constexpr int kDefaultGridColour = 0x505868;

// -1 until read; the view asks every update, the configuration is read once.
int shown[kLayerCount] = {-1, -1, -1, -1};
int grid_colour = -1;

int Index(ViewLayer layer) { return static_cast<int>(layer); }

// One handler for the layer entries; each carries its layer.
void Register(ViewLayer layer) {
  RegisterCommand(kLayers[Index(layer)].command,
                  {[layer] { SetViewLayerShown(layer, !ViewLayerShown(layer)); }, nullptr,
                   [layer] { return ViewLayerShown(layer); }});
}

}  // namespace

bool ViewLayerShown(ViewLayer layer) {
  int& value = shown[Index(layer)];
  if (value < 0) {
    ConfigGuard guard;
    const LayerEntry& e = kLayers[Index(layer)];
    const char* said = get_config_string("View", e.key, e.by_default ? "Yes" : "No");
    value = std::strcmp(said, "No") != 0 ? 1 : 0;
  }
  return value != 0;
}

void SetViewLayerShown(ViewLayer layer, bool show) {
  shown[Index(layer)] = show ? 1 : 0;
  std::string error;
  if (!StoreSettings("View", {{kLayers[Index(layer)].key, show ? "Yes" : "No"}}, error)) TellSettingsNotStored(error);
}

int ViewGridColour() {
  if (grid_colour < 0) {
    std::string said;
    {
      ConfigGuard guard;
      said = get_config_string("View", "GridColour", "");
    }
    if (!ParseGridColour(said, grid_colour)) grid_colour = kDefaultGridColour;
  }
  return grid_colour;
}

bool ParseGridColour(const std::string& text, int& rgb) {
  if (text.size() != 6 || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c); }))
    return false;
  rgb = static_cast<int>(std::stoul(text, nullptr, 16));
  return true;
}

void ReloadViewLayers() {
  for (int& value : shown) value = -1;
  grid_colour = -1;
}

void ApplyViewLayers(CCamera& camera) {
  if (camera.Layer_MG0 != nullptr) camera.Layer_MG0->shown = ViewLayerShown(ViewLayer::Tiles);
  if (camera.Object_MAP != nullptr) camera.Object_MAP->shown = ViewLayerShown(ViewLayer::Objects);
  if (camera.Banana_MAP != nullptr) camera.Banana_MAP->shown = ViewLayerShown(ViewLayer::Bananas);
}

void DrawViewGrid(BITMAP* dest, const CCamera& camera) {
  if (!ViewLayerShown(ViewLayer::Grid)) return;
  const ViewFrame& f = camera.frame;
  const int x0 = f.ox, y0 = f.oy, x1 = f.w - 17, y1 = f.h - 33;
  int lx0 = 0, ly0 = 0, lx1 = 0, ly1 = 0;
  WindowToLevel(x0, y0, lx0, ly0);
  WindowToLevel(x1, y1, lx1, ly1);
  const int w = 32 * camera.lvl.tile_w, h = 32 * camera.lvl.tile_h;
  const int colour = ViewGridColour();
  // The first cell edge at or right of / below the view's first level pixel.
  for (int lx = std::max(0, (lx0 + 31) / 32 * 32); lx <= std::min(lx1, w); lx += 32) {
    int wx = 0, wy = 0;
    LevelToWindow(lx, 0, wx, wy);
    if (wx >= x0 && wx <= x1) vline(dest, wx, y0, y1, colour);
  }
  for (int ly = std::max(0, (ly0 + 31) / 32 * 32); ly <= std::min(ly1, h); ly += 32) {
    int wx = 0, wy = 0;
    LevelToWindow(0, ly, wx, wy);
    if (wy >= y0 && wy <= y1) hline(dest, x0, wy, x1, colour);
  }
}

void RegisterViewLayers() {
  for (ViewLayer layer : {ViewLayer::Tiles, ViewLayer::Objects, ViewLayer::Bananas, ViewLayer::Grid}) Register(layer);
  RegisterShortcut(kCmdViewGrid, KEY_G, kModNone);
}
