#pragma once

// Registers Save ($0001, Ctrl+S), Save As... ($0002, Ctrl+Shift+S), Save IPS... ($0003), Undo
// ($0100, Ctrl+Z) and Redo ($0101, Ctrl+Y, Ctrl+Shift+Z), the question before unsaved edits are
// lost on closing, and the recovery copy a close signal leaves. Called once from the application's
// registration point.
void RegisterSaveAndUndoCommands();

// Undo and Redo as the commands run them: one step, named in the status line ("Undone: Move 3
// objects"), then the level editor shows the level the step belongs to. False when there was no step.
bool UndoAndShowLevel();
bool RedoAndShowLevel();

// The note the status line shows while the image has unsaved edits; "" otherwise.
const char* UnsavedEditsNote();
