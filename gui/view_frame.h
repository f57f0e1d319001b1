#pragma once

// The window a view is drawn into: its size, which bounds the walks of the
// layers, and the frame pixel where level point (camera x, camera y) appears.
// The editor uses the GUI root's size with the level at (4, 60) below the
// caption, menu bar and toolbar; an off-screen export uses a window the size
// of the level with the level at (0, 0).
struct ViewFrame {
  int w = 0;
  int h = 0;
  int ox = 4;
  int oy = 60;
};

// The view frame of the editor window: the GUI root's size, or 776x604 before
// a GUI root exists.
ViewFrame EditorViewFrame();
