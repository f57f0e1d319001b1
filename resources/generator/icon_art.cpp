#include "resources/generator/art.h"

Canvas ProgramIcon() {
  Canvas c(16, 16);
  c.VGradient(1, 1, 14, 14, 0x6A9AEC, 0x2446A0);
  c.Frame(0, 0, 16, 16, 0x0C1A40);
  for (int cx : {0, 15})
    for (int cy : {0, 15}) c.Set(cx, cy, kMagenta);
  DrawArt(c, 3, 3,
          {"..######..", ".##....##.", "##......##", "##......##", "##......##", "##......##",
           "##...##.##", ".##...###.", "..#######.", "........##"},
          {{'#', 0xFFFFFF}});
  return c;
}

Canvas CaptionIcon() {
  Canvas c(96, 16);
  c.Draw(ProgramIcon(), 0, 0);
  DrawMenuText(c, 21, 4, "QBRRE", 1, 0xD8D8D8);
  return c;
}

Canvas FunctionIconStrip() {
  Canvas s(528, 16);
  for (int i = 0; i < 33; ++i) {
    s.Fill(i * 16 + 2, 2, 12, 12, 0x808080);
    s.Frame(i * 16 + 2, 2, 12, 12, 0x202020);
  }
  return s;
}
