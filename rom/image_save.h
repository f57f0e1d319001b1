// The image's file, Save, Save As, Save IPS, and the question before unsaved edits are given up.
// Worker thread only (dialogs and the image belong to it).
#pragma once

#include <string>

#include "rom/file_replace.h"

// The file the open image came from or was last saved to; "" for the demo image, which has none
// (TheImage().Path(), rom/open_image.h).
const std::string& ImageFilePath();
// The name shown for the image in questions: the file's name, or the name given for an image without one
// (TheImage().DisplayName()).
std::string ImageDisplayName();
// The window's title: "QBRRE - NAME" (ImageDisplayName) with " *" while there are unsaved edits, or
// "QBR Resource Editor" while no image is open.
std::string ImageWindowTitle();
// Records the file of a newly opened image (path "" for none, shown as `name`) and its stamp on disk
// now, and ends any patch session (TheImage().SetFile); `config`: the game configuration it is edited
// with (KnownImageConfig), "" when the user accepted an unidentified image. A saved image with a
// configuration is remembered in "EditedImages" (RememberEditedImage), so that it opens again with
// that configuration.
void SetImageFile(const std::string& path, const std::string& config, const std::string& name = "untitled");
// The game configuration the image is edited with ("" when unidentified).
const std::string& ImageGameConfig();

// What runs when a file becomes the user's image: opened (Open, the image Open Patch applies its patch
// to) or saved under a path of its own choosing (Save As). Registered by the application (File > recent
// images); none by default.
using ImageFileHook = void (*)(const std::string& path);
void SetImageFileHook(ImageFileHook hook);
// Runs the image-file hook for `path`.
void NoteImageFile(const std::string& path);

// Save ($0001): writes the opened file with the user's edits over the image's file (the copier
// header unchanged). The first Save over a file keeps the file it replaces as FILE.bak; a file
// changed on disk since it was opened or saved is overwritten only when the user says so. Without a
// file (the demo image) it acts as Save As. True when the file now holds the image.
bool SaveImage();
// Save As... ($0002): asks for a path with the save dialog, writes the image there as Save does, and
// makes that path the image's file. False when cancelled or failed (the message has been shown).
bool SaveImageAs();
// Save IPS... ($0003): asks for a path and writes the IPS patch from the file as opened (in a patch
// session, rom/patch_session.h: from the clean image, offering the session's IPS patch itself) to the
// file Save would write now. False when cancelled or failed.
bool SaveImagePatch();
// Save BPS... ($0007): the same with a BPS patch.
bool SaveImageBpsPatch();

// Before unsaved edits are given up (closing, opening another image): asks "Save changes to
// "FILE"?" with Yes, No and Cancel. True when the caller may go on: no unsaved edits, No, or Yes
// and the Save succeeded.
bool ConfirmUnsavedEdits();
