#pragma once

// Menu bar and toolbar descriptions of the resource modes, in the menu
// description language (see gui/MenuLoad.h).
extern const char* const kSpriteViewerMenu;
extern const char* const kSpriteViewerToolbar;
extern const char* const kPaletteEditorMenu;
extern const char* const kPaletteEditorToolbar;
extern const char* const kHexEditorMenu;
extern const char* const kHexEditorToolbar;
