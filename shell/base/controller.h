#pragma once

#include "platform/allegro_include.h"

// The four-state value of a button from its state now and its previous value:
// 0 idle, 1 pressed in this update, 2 held, 3 released in this update. Values
// other than 0-3 are kept.
int QuadStateSwitch(bool now, int previous);

// A virtual pad of 12 buttons, each bound to one input code:
//   0x00-0x7F key index; 0x80-0x9F button (code & 0x1F) of joystick 0;
//   0xA0-0xBF mouse button (code & 0x1F), except 0xBB which is no input;
//   0xC0-0xFF joystick 0 direction: stick (code >> 3) & 7, axis (code >> 1) & 3,
//   bit 0 clear for the negative (left/up) and set for the positive direction.
class CController {
 public:
  static constexpr int kButtons = 12;
  static constexpr unsigned char kNoInput = 0xBB;

  int qbtn[kButtons];                     // four-state value of each button
  bool btn[kButtons];                     // whether each button was down at the last refresh
  unsigned char btn_cfg_codes[kButtons];  // input code bound to each button

  // Default bindings (joystick pad and buttons), then installs keyboard,
  // joystick and mouse, and gives the window its hidden 520x176 start-up place.
  CController();

  // Refreshes all 12 buttons from the devices.
  void Process();

  // Whether the input named by code is active now.
  bool GetStatus(unsigned char code) const;

  // Code of the first active input (keys, joystick directions, joystick
  // buttons, mouse buttons), or kNoInput.
  unsigned char GetCode() const;
};
