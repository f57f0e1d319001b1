#pragma once

#include <cstdint>

#include "gui/mode_table.h"

// The main loop over the mode table (CHelioGUI::WindowRunFunction), as steps.
// A close sets GAMEOVER and then STATEOVER from the main thread at any moment;
// the order of the steps makes sure the loop sees it wherever it lands.
enum class ModeLoopStep {
  Clear,       // clears STATEOVER (a mode ended, or the loop starts)
  CheckClose,  // reads GAMEOVER: the loop ends when it is set
  Find,        // looks up the mode function of ENGINE_STATE; an unknown mode is
               // reported and closes the program
  Run,         // runs the mode function until its mode ends; then Clear again
};

// Where the main loop stands. WindowRunFunction takes every step; taking them
// one at a time lets a caller act between any two.
class CModeLoop {
 public:
  // The step Step() takes next.
  ModeLoopStep next = ModeLoopStep::Clear;

  // Takes the next step; false when the loop has ended (a close, or an unknown mode).
  bool Step();

 private:
  ModeFunction found = nullptr;
  uint32_t found_id = 0;
};
