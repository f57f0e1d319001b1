#include "gui/ToolbarItems.h"

#include "gfx/ex_graphics.h"
#include "resources/skin.h"

CToolItem::CToolItem(int x, int y, int num)
    : menug_parent(nullptr),
      ID(0),
      state(0),
      sticky(false),
      checkgroup(0),
      ix(x),
      iy(y),
      iw(22),
      ih(24),
      num(num),
      icon(0),
      tiplen(0),
      work(create_bitmap_ex(32, 16, 16)),
      listed_enabled(true) {}

CToolItem::~CToolItem() {
  if (work != nullptr) destroy_bitmap(work);
}

void CToolItem::Proc(int, int) {}

void CToolItem::Draw(BITMAP* bmp) {
  // Skin slots of the face: normal for states 0 and 1, light for hover, dark when down.
  int edge = 15, middle = 18;
  if (state == 2) edge = 16, middle = 19;
  if (state == 3 || state == 4) edge = 17, middle = 20;
  Rw_drawvh(HelioBMP[edge], bmp, ix, iy, 0);
  Rw_ncblit_vlinestretch(HelioBMP[middle], bmp, ix + 2, iy, 18);
  Rw_drawvh(HelioBMP[edge], bmp, ix + 20, iy, 1);

  if (FunctionIcons == nullptr || icon < 0 || icon * 16 + 16 > FunctionIcons->w) return;
  const int x = ix + 3, y = iy + 4;
  if (state == 1 || state == 2) {
    masked_blit(FunctionIcons, bmp, icon * 16, 0, x, y, 16, 16);
    return;
  }
  if (work == nullptr) return;
  blit(FunctionIcons, work, icon * 16, 0, 0, 0, 16, 16);
  if (state == 0) Rw_draw_monochrome(work, bmp, x, y, 0xFF282828);
  if (state == 3) Rw_draw_subtracted(work, bmp, x, y, 64);
  if (state == 4) Rw_draw_monochrome(work, bmp, x, y, 0xFF010101);
}
