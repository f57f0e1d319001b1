#pragma once

#include <string>

#include "resources/generator/canvas.h"
#include "resources/generator/font_glyphs.h"

// The pictures of the program, one function per built-in image, each drawn at
// the size the resource table gives.

// Font sheets in the layout the drawing library grabs fonts from: glyph boxes
// outlined in yellow on a yellow ground, magenta inside, characters 32-127 in
// reading order.
Canvas MenuFontSheet();   // 522
Canvas MicroFontSheet();  // 520
Canvas DigitFontSheet();  // 521

// Draws `text` with the menu font's glyphs at (x, y) (top of the cap line),
// every glyph pixel a scale x scale square, each advance changed by
// `tracking` glyph pixels; returns the width drawn.
int DrawMenuText(Canvas& canvas, int x, int y, const std::string& text, int scale, uint32_t colour, int tracking = 0);
// Width of text in the menu font, unscaled.
int MenuTextWidth(const std::string& text);

// Window skin sheets.
Canvas FrameSheet();          // 500
Canvas SpareSheet();          // 501
Canvas CaptionButtonSheet();  // 502
Canvas MenuBarSheet();        // 503
Canvas ToolbarSheet();        // 504
Canvas ToolButtonSheet();     // 505
Canvas ScrollBarSheet();      // 506
Canvas StatusBarSheet();      // 507

// Mouse cursors 523-527: normal, move, horizontal, vertical, diagonal resize.
Canvas CursorSheet(int index);

Canvas FunctionIconStrip();  // 540
Canvas RegionFlagStrip();    // 541
Canvas CaptionIcon();        // 542
// The 16x16 program icon shared by the caption icon and the banners.
Canvas ProgramIcon();

Canvas StartupBanner();  // 580
Canvas ExtractBanner();  // 581
