#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/allegro_include.h"
#include "editor/object_box.h"
#include "level/level_objects.h"
#include "level/leveldata.h"
#include "editor/input_snapshot.h"
#include "gui/view_frame.h"

struct CompSprite;
class CHG_HScrollBar;
class CHG_VScrollBar;

using Hex32 = int32_t;
using Hex16 = int16_t;

// A view frame in which a whole level (tile_w x tile_h tiles) is drawn at (0, 0).
ViewFrame WholeLevelFrame(const leveldata& lvl);

// Tag of the camera that composes a whole level's picture off-screen.
struct WholeLevelPicture {};

// The main tile layer: the level's 32x32 tiles over a checkerboard grid.
class CMLayer {
 public:
  std::vector<BITMAP*> tileset;        // the level's tiles, tile t at index t; owned
  Hex16 stx = 0, sty = 0;              // map column and row of the top-left visible tile
  Hex16 spx = 0, spy = 0;              // pixel offset inside that tile
  Hex32 mapdata = 0;                   // the map entry being drawn
  Hex32 timaddr = 0;                   // file offset of the map entry being drawn
  Hex32 cntile = 0;                    // tile number of the map entry being drawn
  Hex32 w_squares = 0, h_squares = 0;  // tile columns and rows to draw
  bool drawBGgrid = true;
  // Whether Draw keeps the drawn squares in `picture` and copies them again
  // while the view stays on the same squares (an editor view redraws the same
  // squares every frame); a one-off picture draws straight into its target.
  bool keepPicture = true;
  bool shown = true;  // the View menu shows the layer (Draw draws nothing otherwise)

  // Decodes the level's tiles.
  explicit CMLayer(leveldata& lvl);
  ~CMLayer();
  CMLayer(const CMLayer&) = delete;
  CMLayer& operator=(const CMLayer&) = delete;

  // Takes the camera position (level pixels, not negative) and the view's window.
  void Proc(Hex32 x, Hex32 y, const ViewFrame& frame);
  // Draws the visible part of the map with its grid.
  void Draw(BITMAP* dest, leveldata& lvl, const ViewFrame& frame);
  // The area Draw paints entirely (every square gets its grid colour first), as
  // x, y, w, h in frame pixels; w and h are 0 when it paints nothing.
  void PaintedArea(const leveldata& lvl, const ViewFrame& frame, int& x, int& y, int& w, int& h) const;

 private:
  // How many of the w_squares x h_squares squares from (stx, sty) lie in the level.
  void SquaresInLevel(const leveldata& lvl, int& cols, int& rows) const;
  void DrawEntry(BITMAP* dest, int sx, int sy);
  // Reads the map entries of `cols` x `rows` squares from the top-left visible
  // one into `entries`, column by column (level 0x27: the second map's entry first).
  void ReadSquares(leveldata& lvl, int cols, int rows);
  // Draws those squares, the first at (ox, oy).
  void DrawSquares(BITMAP* dest, int cols, int rows, int ox, int oy, bool two_maps);

  std::vector<Hex32> entries;  // the map entries of the squares in view
  // The squares last drawn for the view, from (picture_stx, picture_sty) with
  // the map entries `picture_entries`: every pixel of them is written (grid
  // first), so while nothing of that changes a copy equals drawing them again.
  BITMAP* picture = nullptr;
  Hex16 picture_stx = 0, picture_sty = 0;
  std::vector<Hex32> picture_entries;
};

// The level's bananas: groups of 16x16 animated sprites on an 8-pixel grid.
class CBananaMap {
 public:
  BITMAP* tileset[8] = {};              // the eight animation frames; owned
  int global_bimg_counter = 0;          // current animation frame, 0-7
  int global_bimg_counter_adv = 0;      // frame-time counter, 0-3
  std::vector<QBR1BananaGroup> groups;  // the level's banana map, read once, sorted by x
  bool shown = true;                    // the View menu shows the layer (Draw draws nothing otherwise)

  // Reads the banana map and decodes graphic set 0.
  explicit CBananaMap(leveldata& lvl);
  ~CBananaMap();
  CBananaMap(const CBananaMap&) = delete;
  CBananaMap& operator=(const CBananaMap&) = delete;

  // Replaces the frames with graphic set n (0-4).
  void ReloadBananas(int n);
  // Advances the animation and switches the graphic set while Alt+B+keypad digit is held in `in`.
  void Proc(Hex32 x, Hex32 y, const InputSnapshot& in);
  // Draws every visible group for camera position (x, y).
  void Draw(BITMAP* dest, Hex32 x, Hex32 y, const ViewFrame& frame);
};

// How the object map draws the markers, labels and the hover tooltip: the
// editor shows them, a picture export leaves them out (and ignores the F key),
// a zoomed view draws them apart over its scaled picture (DrawOverlays).
enum class ObjectOverlay { Shown, Hidden, Apart };

// The level's objects, drawn with their sprites from the ROM image.
class CObjectMap {
 public:
  static constexpr int kCacheSize = 4096;
  CompSprite** sprites;                          // sprite cache indexed by sprite number / 4; owned
  std::vector<QBR1ObjectRecord> records;         // the level's object map, read once, sorted by x
  std::vector<std::optional<ObjectLook>> looks;  // by record, as records first come into view
  bool shown = true;  // the View menu shows the layer (Draw and DrawOverlays draw nothing otherwise)
  bool mirrored = false;  // an editor view draws every object mirrored (the F key held)
  int mouse_x = -1, mouse_y = -1;  // the mouse in window pixels at the last update, for the hover label

  // Reads the object map; the cache starts empty.
  explicit CObjectMap(leveldata& lvl);
  ~CObjectMap();
  CObjectMap(const CObjectMap&) = delete;
  CObjectMap& operator=(const CObjectMap&) = delete;

  // One logic update at camera position (x, y): follows the F key and the mouse of `in`.
  void Proc(Hex32 x, Hex32 y, const InputSnapshot& in);
  // Draws every visible object for camera position (x, y).
  void Draw(BITMAP* dest, Hex32 x, Hex32 y, const ViewFrame& frame, ObjectOverlay overlay = ObjectOverlay::Shown);
  // Draws only the markers, labels and the hover tooltip, at the window
  // positions of the view transform (a zoomed view draws its picture apart).
  void DrawOverlays(BITMAP* dest, int window_w);

 private:
  const ObjectLook& Look(std::size_t record);
  // The marker and label of a compound object, or the marker and tooltip of
  // one the mouse hovers, for record `record` shown at window pixel (px, py).
  void DrawOverlay(BITMAP* dest, std::size_t record, int px, int py, int window_w);
};

// The level editor view of one level: layers, scroll bars and view position.
class CCamera {
 public:
  leveldata lvl;
  CMLayer* Layer_MG0 = nullptr;
  CBananaMap* Banana_MAP = nullptr;
  CObjectMap* Object_MAP = nullptr;
  CHG_HScrollBar* hscroll = nullptr;
  CHG_VScrollBar* vscroll = nullptr;
  int pressdelay = 0;
  Hex32 x = 0, y = 0;
  ViewFrame frame;       // the window the view is drawn into
  bool attached = true;  // an editor view: follows the GUI root, keys, bars and saved positions
  InputSnapshot input;   // the input of the last update: what drawing and commands between updates go by
  BITMAP* zoom_picture = nullptr;  // a zoomed view's level picture at 1:1 before scaling; owned

  // Builds the editor view of a level: restores its saved position, sizes the
  // window for horizontal levels, builds the layers and bars, becomes `cam`.
  explicit CCamera(int LEVEL_ID);
  // Builds a detached view of the whole level at camera (0, 0) for composing
  // its picture off-screen: no window, configuration, scroll bars, keys or
  // animation; does not become `cam`.
  CCamera(int LEVEL_ID, WholeLevelPicture);
  ~CCamera();
  CCamera(const CCamera&) = delete;
  CCamera& operator=(const CCamera&) = delete;

  // One logic update: scroll bars, the keys and wheel of `in`, clamping, saving, layers.
  void Proc(const InputSnapshot& in = InputSnapshot());
  // Draws the layers, the half-way guide and the scroll bars.
  void Draw(BITMAP* dest);
  // The area Draw paints entirely before it draws anything else there (the tile
  // layer's squares, at 100 %), as x, y, w, h; w and h are 0 when there is none.
  void PaintedArea(int& x, int& y, int& w, int& h) const;
  // Draws only the level picture (tiles, bananas, objects) as an export shows it.
  void DrawPicture(BITMAP* dest);
  // Draws the level picture of an editor view at a zoom other than 100 %: the
  // level area in view composed at 1:1 and scaled into the view area (Draw
  // adds the object overlays and the guide).
  void DrawZoomed(BITMAP* dest);
  void install_pointer();

  // Keeps (x, y) inside the level for the current frame and zoom.
  void Clamp();

 private:
  // Notes the position in "LevelDisplay" when it differs from the last one noted, and writes it to
  // the settings file once it has not moved for a moment after a move.
  void SavePosition();
  // Writes the position noted (with every other setting only noted) to the settings file.
  void StorePosition();
  // Lets the scroll bars' thumb drags move the view.
  void DragScrollBars();

  // The "LevelDisplay" value last noted, -1 before the first, and the updates since it moved.
  long long saved_position = -1;
  int updates_resting = 0;
};

// The live editor camera; null while none exists.
extern CCamera* cam;

// The level id as the two-digit key of the "LevelDisplay" section.
std::string LevelDisplayKey(int level_id);
