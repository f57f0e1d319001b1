// The open image as one object: its bytes (channel 0x10, what QBR1 and every view read), the document of
// its edits (history, saved position, generation), the file it came from (path, display name, stamp on
// disk, game configuration) and, for a hack kept as a patch, the patch session (patch file, clean image).
// The program object owns the one the window edits and registers it; every command, tool and mode reaches
// it through TheImage(), and nothing else keeps a copy of its path or patch state.
// Worker thread only, except IsOpen and the document's HasUnsavedEditsAnyThread.
#pragma once

#include <string>
#include <vector>

#include "rom/file_replace.h"
#include "rom/image_document.h"
#include "rom/patch_apply.h"

// The file an open image came from or was last saved to.
struct ImageIdentity {
  std::string path;    // "" for an image without a file (the demo image, a patch session)
  std::string name;    // shown while there is no file
  FileStamp stamp;     // the file on disk as last read or written by us
  std::string config;  // file name of the game configuration it is edited with; "" unidentified
};

// A hack kept as a patch: the clean image and the patch applied to it when it was opened.
struct PatchSession {
  std::string rom, patch;  // absolute paths; patch "" without a session
  PatchFormat format = PatchFormat::kUnknown;
  std::vector<unsigned char> clean;  // the clean image as read: the base every patch is made from
};

class OpenImage {
 public:
  // An image over the buffer `bytes` the views read (QBR1); nothing open yet.
  explicit OpenImage(std::vector<char>& bytes) : bytes_(bytes), document_(bytes) {}
  OpenImage(const OpenImage&) = delete;
  OpenImage& operator=(const OpenImage&) = delete;

  // Whether an image is open: its buffer holds bytes.
  bool IsOpen() const { return !bytes_.empty(); }
  // The image as the views read it (the in-memory corrections of Open included).
  const std::vector<char>& Bytes() const { return bytes_; }
  // The document of its edits: history, saved position, generation, the file as opened.
  ImageDocument& Document() { return document_; }
  const ImageDocument& Document() const { return document_; }
  // The bytes Save would write now (the file as opened with the edits in force).
  std::vector<unsigned char> SavedFileBytes() const { return document_.SavedFileBytes(); }

  // The file: its path ("" for none), the name shown for it (the file's name, or the name given for an
  // image without one), its game configuration's file name ("" unidentified) and its stamp on disk.
  const ImageIdentity& Identity() const { return file_; }
  const std::string& Path() const { return file_.path; }
  std::string DisplayName() const;
  const std::string& ConfigFile() const { return file_.config; }
  // Records the file of a newly opened image (path "" for none, shown as `name`), its stamp on disk now
  // and its game configuration; ends any patch session (a session begins after this).
  void SetFile(const std::string& path, const std::string& config, const std::string& name = "untitled");
  // Records that the image was written to `path`, which is now its file, as it is on disk now.
  void SetSavedTo(const std::string& path);

  // Starts the patch session of an image just opened from `rom` with `patch` applied; `clean` is the
  // clean image as read.
  void BeginPatchSession(const std::string& rom, const std::string& patch, PatchFormat format,
                         std::vector<unsigned char> clean);
  bool InPatchSession() const { return !session_.patch.empty(); }
  // The session's patch file and clean image file, as absolute paths ("" without a session).
  const std::string& PatchPath() const { return session_.patch; }
  const std::string& PatchRomPath() const { return session_.rom; }
  PatchFormat SessionPatchFormat() const { return session_.format; }
  // Whether `path` names the session's patch file.
  bool IsSessionPatch(const std::string& path) const;
  // What a patch is made from: the clean image of the session, else the file as opened.
  const std::vector<unsigned char>& PatchBase() const;
  // The session's name for the window's title: "hack.bps on game.smc" ("" without a session).
  std::string SessionName() const;

 private:
  std::vector<char>& bytes_;
  ImageDocument document_;
  ImageIdentity file_;
  PatchSession session_;
};

// The open image: the one the program object registered, else the process's own (the commands without a
// window, tests and benchmarks, which build no program object).
OpenImage& TheImage();
// Makes `image` the one TheImage() returns; null goes back to the process's own. The program object
// registers its image for as long as it lives.
void RegisterOpenImage(OpenImage* image);
