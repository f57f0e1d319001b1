#pragma once

// Every command number of the menu bar and toolbar descriptions, named once.
// The numbers are those the descriptions carry ("$" and four hex digits there).

using CommandId = unsigned short;

// File
constexpr CommandId kCmdOpen = 0x0000;
constexpr CommandId kCmdSave = 0x0001;
constexpr CommandId kCmdSaveAs = 0x0002;
constexpr CommandId kCmdSaveIps = 0x0003;
constexpr CommandId kCmdLaunchGame = 0x0004;
constexpr CommandId kCmdLaunchLevel = 0x0005;
constexpr CommandId kCmdOpenPatch = 0x0006;
constexpr CommandId kCmdSaveBps = 0x0007;
constexpr CommandId kCmdRecover = 0x0008;
constexpr CommandId kCmdExit = 0xFFFF;
// File > recent images: $0010 + the entry's place in the list (0 the most recent), eight entries.
constexpr CommandId kCmdRecentImageFirst = 0x0010;
constexpr int kRecentImageEntries = 8;

// Edit
constexpr CommandId kCmdUndo = 0x0100;
constexpr CommandId kCmdRedo = 0x0101;
constexpr CommandId kCmdCut = 0x0102;
constexpr CommandId kCmdCopy = 0x0103;
constexpr CommandId kCmdPaste = 0x0104;
constexpr CommandId kCmdDuplicate = 0x0105;
constexpr CommandId kCmdDelete = 0x0106;
constexpr CommandId kCmdSelectAll = 0x0107;

// Level, with the Modify group (menu entries and tool buttons alike)
constexpr CommandId kCmdSelectLevel = 0x0200;
constexpr CommandId kCmdModifyTileMap = 0x0201;
constexpr CommandId kCmdModifyEnemies = 0x0202;
constexpr CommandId kCmdModifyObjects = 0x0203;
constexpr CommandId kCmdModifyCollectibles = 0x0204;
constexpr CommandId kCmdModifyBananaMap = 0x0205;
constexpr CommandId kCmdModifyFocusPoints = 0x0206;
constexpr CommandId kCmdStartPoints = 0x0207;
constexpr CommandId kCmdSoundsMusic = 0x0208;
constexpr CommandId kCmdLevelSettings = 0x0209;
constexpr CommandId kCmdNukeLevel = 0x020A;
constexpr CommandId kCmdNukeAllLevels = 0x020B;

// View
constexpr CommandId kCmdViewBackgrounds = 0x0300;
constexpr CommandId kCmdViewTiles = 0x0301;
constexpr CommandId kCmdViewForegrounds = 0x0302;
constexpr CommandId kCmdViewEnemies = 0x0303;
constexpr CommandId kCmdViewObjects = 0x0304;
constexpr CommandId kCmdViewHiddenCaches = 0x0305;
constexpr CommandId kCmdViewCollectibles = 0x0306;
constexpr CommandId kCmdViewBananas = 0x0307;
constexpr CommandId kCmdViewFocusPoints = 0x0308;
constexpr CommandId kCmdViewLevelEntrances = 0x0309;
constexpr CommandId kCmdViewBonusEntrances = 0x030A;
constexpr CommandId kCmdViewGrid = 0x030B;

// Graphics (Extraction mode): $5100-$5105 in menu order
constexpr CommandId kCmdGraphicsLevelTerrains = 0x5100;
constexpr CommandId kCmdGraphicsBackgrounds = 0x5101;
constexpr CommandId kCmdGraphicsTileSets = 0x5102;
constexpr CommandId kCmdGraphicsForegrounds = 0x5103;
constexpr CommandId kCmdGraphicsAnimations = 0x5104;
constexpr CommandId kCmdGraphicsSprites = 0x5105;

// Binary (Extraction mode): $5200-$5206 in menu order
constexpr CommandId kCmdBinaryTiles8x8 = 0x5200;
constexpr CommandId kCmdBinaryTileSets = 0x5201;
constexpr CommandId kCmdBinaryTileMaps = 0x5202;
constexpr CommandId kCmdBinaryBackgrounds = 0x5203;
constexpr CommandId kCmdBinaryPhysMaps = 0x5204;
constexpr CommandId kCmdBinarySprites = 0x5205;
constexpr CommandId kCmdBinaryPalettes = 0x5206;

// Import (Extraction mode): $5300 a whole folder, $5301-$5304 one file of a kind
constexpr CommandId kCmdImportFolder = 0x5300;
constexpr CommandId kCmdImportTiles8x8 = 0x5301;
constexpr CommandId kCmdImportTileSets = 0x5302;
constexpr CommandId kCmdImportTileMaps = 0x5303;
constexpr CommandId kCmdImportPalettes = 0x5304;

// Mode menu ($FF00 + entry) and the start-up toolbar's mode buttons ($FE00 +
// entry), six entries each in the order Level Editor, Extraction, Sprite Viewer,
// Palette Editor, Physmap Editor, Hex Editor.
constexpr CommandId kCmdModeMenuFirst = 0xFF00;
constexpr CommandId kCmdStartupModeFirst = 0xFE00;
constexpr int kModeEntries = 6;

// Help
constexpr CommandId kCmdAbout = 0xF000;
constexpr CommandId kCmdDocumentation = 0xF001;
constexpr CommandId kCmdOffsetLibrary = 0xF002;
constexpr CommandId kCmdKnownIssues = 0xF003;
