#include "editor/status_message.h"

namespace {

// Logic updates a message stays: four seconds at 60 updates a second.
constexpr int kMessageUpdates = 240;

struct Message {
  std::string text;
  int updates = 0;     // left to show
  bool fresh = false;  // shown during the current update: its own action does not drop it
} message;

}  // namespace

void ShowStatusMessage(const std::string& text) {
  message.text = text;
  message.updates = kMessageUpdates;
  message.fresh = true;
}

const std::string& StatusMessage() { return message.text; }

void ClearStatusMessage() { message = {}; }

void StatusMessageStep(bool acted) {
  if (message.text.empty()) return;
  if (message.fresh) {
    message.fresh = false;
    return;
  }
  if (acted || --message.updates <= 0) ClearStatusMessage();
}
