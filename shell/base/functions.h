#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/allegro_include.h"

struct PlatformRect;

// Common utilities shared by every subsystem: conversions, the menu font's
// text width, releasing Allegro objects, message boxes, the window's outline,
// mouse cursors and hit tests, the caption buttons' actions.

// Advance in pixels of each character of the menu font (codes 0-127).
extern const unsigned char NMenuFontSizes[128];

// Advance used for character codes 128-255, which the menu font table does not
// cover: the width of an average letter, so unknown characters still take room.
constexpr int kNMenuFontHighCharWidth = 7;

// Version of the program, as shown by mGetVersion.
extern uint16_t mVersion;        // four nibbles, highest first: 0x0060 = 0.0.6.0
extern bool mDebugVr;            // appends "    [Debug]"
extern std::string mExtraLt;     // appended after the version digits
extern uint16_t mEditMde;        // index into mEditMdS
extern std::string mEditMdS[4];  // game names the editor is built for

// Decimal text of value, zero-padded after any sign to at least `digits` characters.
std::string int2string(int value, int digits);

// Exactly `digits` (0-8) upper-case hex digits of the low 4 x digits bits of value.
std::string int2hexstr(int value, int digits);

// Value of the first `count` characters of text read as upper-case hex
// (reading stops early at the end of the text); other characters count as 0.
int hexstr2int(const char* text, int count);

// `yes` when value is non-zero, else `no`.
std::string bool2string(int value, const char* yes, const char* no);

// Width of text in the menu font (sum of the advances of its bytes).
int helio_stringlength(const std::string& text);

// "QBR Resource Editor v0.0.6.0    [Debug]" with the default version globals.
std::string mGetVersion();

// Destroy the object when not null and clear the pointer.
void Nullify(BITMAP*& bmp);
void Nullify(SAMPLE*& sample);
void Nullify(FONT*& font);

// Modal message boxes, text first and title second.
void ErrorBox(const std::string& text, const std::string& title);
void InfoBox(const std::string& text, const std::string& title);
void WarnBox(const std::string& text, const std::string& title);
// Yes/No box with the exclamation icon; true when Yes is chosen.
bool YesNoBox(const std::string& text, const std::string& title);

// Pixel rectangles cut from a w x h window for its rounded top and clipped
// bottom corners (right and bottom exclusive).
std::vector<PlatformRect> HelioRegionCutouts(int w, int h);

// Gives the program's window its w x h outline with the corners cut.
void SetRegionHelio(int w, int h);

// Rectangles of the magenta (0xFF00FF) pixels of bmp, one 1x1 square each, row
// by row: what is removed from the bitmap's rectangle to get its outline.
std::vector<PlatformRect> ScanRegion(BITMAP* bmp);

// Shows cursor shape `index` (0-4) through the registered cursor shapes, shows
// the sprite as the system cursor and stores the index in MC_CURRENT (also when
// no shapes are registered or the index has no shape).
void SetMouseCursorBitmap(int index);

// Makes cursor shape `index` the mouse sprite; registered by the owner of the
// cursor pictures (the program object: the skin's cursors).
using CursorShapeFunction = void (*)(int index);
// Registers the cursor shapes SetMouseCursorBitmap shows; nullptr: none.
void RegisterCursorShapes(CursorShapeFunction show);

// Height of the desktop panel's strip; 0 when there is none.
int GetTaskBarHeight();

// The mouse position in window pixels of the program's 1x layout: Allegro's
// position divided by the window scale (PlatformWindowScale).
int MouseX();
int MouseY();

// Whether the pointer is over the program's window (Allegro keeps the last
// position after the pointer has left it).
bool MouseInWindow();

// Whether the mouse position (MouseX, MouseY) lies in [x, x + w) x [y, y + h).
bool IsMouseHover(int x, int y, int w, int h);

// Acts for a caption button: 0 closes the program, 3 minimises the window,
// the others report that they are not implemented.
void CaptionButtonFunction(int button);

// Creates the directory (mode 0777 before the umask); false when it fails.
bool CreateFolder(const char* path);

// value / total x pixels, truncated and kept in [0, pixels]; 0 when total is
// not positive or a value is not a number.
int GetPercentageOfPixels(double pixels, double total, double value);
