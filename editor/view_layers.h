#pragma once

#include <string>

#include "platform/allegro_include.h"

class CCamera;

// The level view's layers that the View menu shows and hides: Tiles ($0301),
// Objects ($0304), Bananas ($0307) and the 32-pixel cell grid over the view
// (Grid, $030B, key G). The choice is kept in Configuration.INI, section "View"
// (keys "Tiles", "Objects", "Bananas", "Grid": "Yes" or "No"; when missing the
// layers are shown and the grid is not). A picture export always shows every
// layer and never the grid. The grid's colour is "GridColour" in the same section,
// six hex digits RRGGBB (505868 when missing or not that).
enum class ViewLayer { Tiles, Objects, Bananas, Grid };

// Whether the layer is shown; read from the configuration at the first call
// after start-up or ReloadViewLayers.
bool ViewLayerShown(ViewLayer layer);

// Shows or hides the layer and stores the choice in the configuration.
void SetViewLayerShown(ViewLayer layer, bool shown);

// The grid's colour as 0xRRGGBB; read from the configuration with the layers.
int ViewGridColour();

// 0xRRGGBB of `text` when it is exactly six hex digits (either case); false otherwise.
bool ParseGridColour(const std::string& text, int& rgb);

// Forgets what was read, so the next ViewLayerShown and ViewGridColour read the configuration again.
void ReloadViewLayers();

// Gives an editor view's layers the shown / hidden state of the View menu.
void ApplyViewLayers(CCamera& camera);

// Draws the grid of 32-pixel cells over the editor view of `camera` when it is shown.
void DrawViewGrid(BITMAP* dest, const CCamera& camera);

// Registers the View commands (their check marks follow the layers) and G for the grid.
// Called once from the application's registration point.
void RegisterViewLayers();
