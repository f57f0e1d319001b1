#include "editor/view_layers.h"

#include <cstring>

#include "editor/classes.h"
#include "gui/commands.h"
#include "platform/config_lock.h"
#include "platform/allegro_include.h"

namespace {

struct LayerEntry {
  const char* key;  // in section "View"
  CommandId command;
};
constexpr LayerEntry kLayers[] = {{"Tiles", kCmdViewTiles}, {"Objects", kCmdViewObjects}, {"Bananas", kCmdViewBananas}};
constexpr int kLayerCount = 3;

// -1 until read; the view asks every update, the configuration is read once.
int shown[kLayerCount] = {-1, -1, -1};

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
    value = std::strcmp(get_config_string("View", kLayers[Index(layer)].key, "Yes"), "No") != 0 ? 1 : 0;
  }
  return value != 0;
}

void SetViewLayerShown(ViewLayer layer, bool show) {
  shown[Index(layer)] = show ? 1 : 0;
  ConfigGuard guard;
  set_config_string("View", kLayers[Index(layer)].key, show ? "Yes" : "No");
}

void ReloadViewLayers() {
  for (int& value : shown) value = -1;
}

void ApplyViewLayers(CCamera& camera) {
  if (camera.Layer_MG0 != nullptr) camera.Layer_MG0->shown = ViewLayerShown(ViewLayer::Tiles);
  if (camera.Object_MAP != nullptr) camera.Object_MAP->shown = ViewLayerShown(ViewLayer::Objects);
  if (camera.Banana_MAP != nullptr) camera.Banana_MAP->shown = ViewLayerShown(ViewLayer::Bananas);
}

void RegisterViewLayers() {
  for (ViewLayer layer : {ViewLayer::Tiles, ViewLayer::Objects, ViewLayer::Bananas}) Register(layer);
}
