#pragma once

#include <string>

// The level editor's status-line message ("Deleted 3 objects", "Undone: Move 3
// objects"): it takes the place of the view's coordinates for a few seconds,
// or until the user's next action, and then they come back.

// Shows `text` from now on (replacing any message).
void ShowStatusMessage(const std::string& text);
// The message shown now; "" when there is none.
const std::string& StatusMessage();
// Drops the message.
void ClearStatusMessage();
// Once at the end of each logic update of the level editor: counts the
// message's time down, and drops it when the user acted (`acted`: a key or
// button went down) in an update after the one that showed it.
void StatusMessageStep(bool acted);
