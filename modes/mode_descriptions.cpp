#include "modes/mode_descriptions.h"

// Each mode shows File (the recent images where its '%' is), Edit (the one undo
// history of the image), Mode and Help; its own entry of the Mode menu is
// unavailable. The toolbars carry the file and undo buttons and one push button
// per mode.

const char* const kSpriteViewerMenu =
    "[    [+Y--'File'        [$0000 Y 10 - - 'Open...']        [$0001 Y 11 - - 'Save']    "
    "    [$0002 Y -- - - 'Save As...']        [$0003 Y 12 - - 'Save IPS...']        [$0007 Y -- - - 'Save BPS...']    "
    "    [$0008 Y -- - - 'Recover...']    "
    "    %        [-]        [$FFFF Y 01 - - 'Exit']    ]    [+Y--'Edit'        [$0100 Y 08 - - 'Undo']    "
    "    [$0101 Y 09 - - 'Redo']    ]    [>Y--'Mode'        [$FF00 Y 02 - - 'Level Editor']    "
    "    [$FF01 Y 03 - - 'Extraction']        [$FF02 N 04 - - 'Sprite Viewer']    "
    "    [$FF03 Y 05 - - 'Palette Editor']        [$FF04 Y 06 - - 'Physmap Editor']    "
    "    [$FF05 Y 07 - - 'Hex Editor']    ]    [>Y--'Help'        [$F000 Y -- - - 'About QBRRE...']    "
    "    [$F001 N -- - - 'Documentation...']        [$F002 N -- - - 'QBR Offset Library...']    "
    "    [$F003 N -- - - 'Known Issues...']    ]]";
const char* const kSpriteViewerToolbar =
    "[    [$0000 Y 10 - - 'Open']    [$0001 Y 11 - - 'Save']    [$0003 Y 12 - - 'Save IPS']    [-][-]"
    "    [$0100 Y 08 - - 'Undo']    [$0101 Y 09 - - 'Redo']    [-][-]    [$FF00 Y 02 - - 'Level Editor']"
    "    [$FF01 Y 03 - - 'Extraction']    [$FF02 N 04 - - 'Sprite Viewer']"
    "    [$FF03 Y 05 - - 'Palette Editor']    [$FF04 Y 06 - - 'Physmap Editor']"
    "    [$FF05 Y 07 - - 'Hex Editor']]";

const char* const kPaletteEditorMenu =
    "[    [+Y--'File'        [$0000 Y 10 - - 'Open...']        [$0001 Y 11 - - 'Save']    "
    "    [$0002 Y -- - - 'Save As...']        [$0003 Y 12 - - 'Save IPS...']        [$0007 Y -- - - 'Save BPS...']    "
    "    [$0008 Y -- - - 'Recover...']    "
    "    %        [-]        [$FFFF Y 01 - - 'Exit']    ]    [+Y--'Edit'        [$0100 Y 08 - - 'Undo']    "
    "    [$0101 Y 09 - - 'Redo']    ]    [>Y--'Mode'        [$FF00 Y 02 - - 'Level Editor']    "
    "    [$FF01 Y 03 - - 'Extraction']        [$FF02 Y 04 - - 'Sprite Viewer']    "
    "    [$FF03 N 05 - - 'Palette Editor']        [$FF04 Y 06 - - 'Physmap Editor']    "
    "    [$FF05 Y 07 - - 'Hex Editor']    ]    [>Y--'Help'        [$F000 Y -- - - 'About QBRRE...']    "
    "    [$F001 N -- - - 'Documentation...']        [$F002 N -- - - 'QBR Offset Library...']    "
    "    [$F003 N -- - - 'Known Issues...']    ]]";
const char* const kPaletteEditorToolbar =
    "[    [$0000 Y 10 - - 'Open']    [$0001 Y 11 - - 'Save']    [$0003 Y 12 - - 'Save IPS']    [-][-]"
    "    [$0100 Y 08 - - 'Undo']    [$0101 Y 09 - - 'Redo']    [-][-]    [$FF00 Y 02 - - 'Level Editor']"
    "    [$FF01 Y 03 - - 'Extraction']    [$FF02 Y 04 - - 'Sprite Viewer']"
    "    [$FF03 N 05 - - 'Palette Editor']    [$FF04 Y 06 - - 'Physmap Editor']"
    "    [$FF05 Y 07 - - 'Hex Editor']]";

const char* const kHexEditorMenu =
    "[    [+Y--'File'        [$0000 Y 10 - - 'Open...']        [$0001 Y 11 - - 'Save']    "
    "    [$0002 Y -- - - 'Save As...']        [$0003 Y 12 - - 'Save IPS...']        [$0007 Y -- - - 'Save BPS...']    "
    "    [$0008 Y -- - - 'Recover...']    "
    "    %        [-]        [$FFFF Y 01 - - 'Exit']    ]    [+Y--'Edit'        [$0100 Y 08 - - 'Undo']    "
    "    [$0101 Y 09 - - 'Redo']    ]    [>Y--'Mode'        [$FF00 Y 02 - - 'Level Editor']    "
    "    [$FF01 Y 03 - - 'Extraction']        [$FF02 Y 04 - - 'Sprite Viewer']    "
    "    [$FF03 Y 05 - - 'Palette Editor']        [$FF04 Y 06 - - 'Physmap Editor']    "
    "    [$FF05 N 07 - - 'Hex Editor']    ]    [>Y--'Help'        [$F000 Y -- - - 'About QBRRE...']    "
    "    [$F001 N -- - - 'Documentation...']        [$F002 N -- - - 'QBR Offset Library...']    "
    "    [$F003 N -- - - 'Known Issues...']    ]]";
const char* const kHexEditorToolbar =
    "[    [$0000 Y 10 - - 'Open']    [$0001 Y 11 - - 'Save']    [$0003 Y 12 - - 'Save IPS']    [-][-]"
    "    [$0100 Y 08 - - 'Undo']    [$0101 Y 09 - - 'Redo']    [-][-]    [$FF00 Y 02 - - 'Level Editor']"
    "    [$FF01 Y 03 - - 'Extraction']    [$FF02 Y 04 - - 'Sprite Viewer']"
    "    [$FF03 Y 05 - - 'Palette Editor']    [$FF04 Y 06 - - 'Physmap Editor']"
    "    [$FF05 N 07 - - 'Hex Editor']]";
