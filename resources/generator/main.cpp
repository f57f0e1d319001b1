// Draws every built-in image of the program into a folder as PNG files named
// after their resource numbers (500.png ...). The outputs are committed and
// embedded into the program at build time; run this after changing the art.

#include <cstdio>
#include <functional>
#include <string>

#include "resources/generator/art.h"
#include "resources/resource_table.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  struct Job {
    int id;
    std::function<Canvas()> draw;
    bool indexed;
  };
  const Job jobs[] = {
      {500, FrameSheet, false},
      {501, SpareSheet, false},
      {502, CaptionButtonSheet, false},
      {503, MenuBarSheet, false},
      {504, ToolbarSheet, false},
      {505, ToolButtonSheet, false},
      {506, ScrollBarSheet, false},
      {507, StatusBarSheet, false},
      {520, MicroFontSheet, true},
      {521, DigitFontSheet, true},
      {522, MenuFontSheet, false},
      {523, [] { return CursorSheet(0); }, false},
      {524, [] { return CursorSheet(1); }, false},
      {525, [] { return CursorSheet(2); }, false},
      {526, [] { return CursorSheet(3); }, false},
      {527, [] { return CursorSheet(4); }, false},
      {540, FunctionIconStrip, false},
      {541, RegionFlagStrip, false},
      {542, CaptionIcon, false},
      {580, StartupBanner, false},
      {581, ExtractBanner, false},
  };
  int failures = 0;
  for (const Job& job : jobs) {
    const Canvas canvas = job.draw();
    const ResourceInfo* info = FindResourceInfo(job.id);
    if (info == nullptr || info->w != canvas.w || info->h != canvas.h) {
      std::fprintf(stderr, "image %d: drawn at %dx%d, the program expects another size\n", job.id, canvas.w, canvas.h);
      ++failures;
      continue;
    }
    if (!WritePng(canvas, folder + "/" + std::to_string(job.id) + ".png", job.indexed)) ++failures;
  }
  return failures == 0 ? 0 : 1;
}
