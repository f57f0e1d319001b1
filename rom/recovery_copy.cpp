#include "rom/recovery_copy.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "bfa/bfa.h"
#include "platform/data_paths.h"
#include "rom/file_replace.h"
#include "rom/image_edits.h"
#include "rom/image_transaction.h"
#include "rom/image_save.h"
#include "shell/base/functions.h"

namespace fs = std::filesystem;

namespace {

// The image's file, or the name the demo image's copy is kept under.
std::string ImageFileOrDemo() { return ImageFilePath().empty() ? std::string("demo.smc") : ImageFilePath(); }

long long ModifiedNs(const struct stat& s) {
  return static_cast<long long>(s.st_mtim.tv_sec) * 1000000000LL + s.st_mtim.tv_nsec;
}

}  // namespace

std::string RecoveryCopyPath() { return ImageFileOrDemo() + ".recovery"; }

std::string FallbackRecoveryPath(const std::string& path) {
  const std::string state = PlatformUserFolder("XDG_STATE_HOME", ".local/state");
  if (state.empty()) return "";
  std::error_code error;
  fs::path absolute = fs::weakly_canonical(fs::absolute(path, error), error);
  if (error) absolute = fs::absolute(path, error).lexically_normal();
  const std::string full = absolute.string();
  char crc[16];
  std::snprintf(crc, sizeof crc, "%08X",
                static_cast<unsigned>(CharArray_Get_CRC32(full.data(), static_cast<int>(full.size()))));
  return (fs::path(state) / "recovery" / (absolute.filename().string() + "-" + crc + ".recovery")).string();
}

bool SaveRecoveryCopy() {
  if (!QBR1_HasUnsavedEdits()) return true;
  const std::vector<unsigned char> bytes = QBR1_SavedFileBytes();
  const std::string beside = RecoveryCopyPath();
  std::string error;
  if (ReplaceFile(beside, bytes, error)) return true;
  const std::string why_beside = error;
  const std::string fallback = FallbackRecoveryPath(ImageFileOrDemo());
  if (fallback.empty()) {
    error = "no state folder is known (neither XDG_STATE_HOME nor HOME is set)";
  } else {
    std::error_code made;
    fs::create_directories(fs::path(fallback).parent_path(), made);
    if (ReplaceFile(fallback, bytes, error)) {
      std::fprintf(stderr, "qbrre: cannot write \"%s\" (%s); the unsaved edits are in \"%s\"\n", beside.c_str(),
                   why_beside.c_str(), fallback.c_str());
      return true;
    }
  }
  std::fprintf(stderr, "qbrre: the unsaved edits are lost: cannot write \"%s\" (%s) nor \"%s\" (%s)\n", beside.c_str(),
               why_beside.c_str(), fallback.c_str(), error.c_str());
  return false;
}

void OfferRecoveryCopy(const std::string& path) {
  struct stat file {};
  if (path.empty() || ::stat(path.c_str(), &file) != 0) return;
  const std::vector<unsigned char>& opened = QBR1_OpenedFile();
  // The newest copy of the file's size that is newer than the file.
  std::string copy;
  long long newest = ModifiedNs(file);
  for (const std::string& candidate : {path + ".recovery", FallbackRecoveryPath(path)}) {
    struct stat s {};
    if (candidate.empty() || ::stat(candidate.c_str(), &s) != 0 || !S_ISREG(s.st_mode)) continue;
    if (static_cast<std::size_t>(s.st_size) != opened.size() || ModifiedNs(s) <= newest) continue;
    copy = candidate;
    newest = ModifiedNs(s);
  }
  if (copy.empty()) return;
  std::vector<unsigned char> bytes;
  std::string error;
  if (!ReadRegularFile(copy, bytes, error) || bytes.size() != opened.size()) return;
  if (!YesNoBox("Restore the unsaved edits from \"" + copy + "\"?", "Unsaved Edits Found")) return;
  // Every stretch in which the copy differs becomes a write of one undoable edit; the copier header
  // is not part of the image and stays as opened.
  const std::size_t header = QBR1_HeaderSize();
  ImageTransaction edit(QBR1_Document(), "Restore recovery copy");
  std::size_t i = header;
  while (i < bytes.size()) {
    if (bytes[i] == opened[i]) {
      ++i;
      continue;
    }
    std::size_t end = i + 1;
    while (end < bytes.size() && bytes[end] != opened[end]) ++end;
    QBR1_WriteBytes(i - header, bytes.data() + i, end - i);
    i = end;
  }
  edit.Commit();
}
