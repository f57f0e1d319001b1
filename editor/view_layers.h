#pragma once

class CCamera;

// The level view's layers that the View menu shows and hides: Tiles ($0301),
// Objects ($0304) and Bananas ($0307). The choice is kept in Configuration.INI,
// section "View" (keys "Tiles", "Objects", "Bananas": "Yes" or "No"; shown when
// missing). A picture export always shows every layer.
enum class ViewLayer { Tiles, Objects, Bananas };

// Whether the layer is shown; read from the configuration at the first call
// after start-up or ReloadViewLayers.
bool ViewLayerShown(ViewLayer layer);

// Shows or hides the layer and stores the choice in the configuration.
void SetViewLayerShown(ViewLayer layer, bool shown);

// Forgets what was read, so the next ViewLayerShown reads the configuration again.
void ReloadViewLayers();

// Gives an editor view's layers the shown / hidden state of the View menu.
void ApplyViewLayers(CCamera& camera);

// Registers the three View commands (their check marks follow the layers).
// Called once from the application's registration point.
void RegisterViewLayers();
