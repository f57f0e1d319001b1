#include "rom/image_edits.h"

#include <utility>

#include "rom/open_image.h"

namespace {

constexpr std::size_t kCopierHeader = 512;
constexpr std::size_t kCopierBlock = 0x8000;

}  // namespace

ImageDocument& QBR1_Document() { return TheImage().Document(); }

bool QBR1_WriteBytes(std::size_t offset, const unsigned char* bytes, std::size_t n) {
  return QBR1_Document().Write(offset, bytes, n);
}

bool QBR1_WriteByte(std::size_t offset, unsigned char value) { return QBR1_WriteBytes(offset, &value, 1); }

bool QBR1_WriteWord(std::size_t offset, unsigned short value) {
  const unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF), static_cast<unsigned char>(value >> 8)};
  return QBR1_WriteBytes(offset, bytes, 2);
}

bool QBR1_UndoStep(EditStepInfo* step) { return QBR1_Document().Undo(step); }

bool QBR1_RedoStep(EditStepInfo* step) { return QBR1_Document().Redo(step); }

bool QBR1_Undo(int* level) {
  EditStepInfo step;
  if (!QBR1_UndoStep(&step)) return false;
  if (level != nullptr) *level = step.level;
  return true;
}

bool QBR1_Redo(int* level) {
  EditStepInfo step;
  if (!QBR1_RedoStep(&step)) return false;
  if (level != nullptr) *level = step.level;
  return true;
}

unsigned long long QBR1_EditGeneration() { return QBR1_Document().Generation(); }

bool QBR1_HasUnsavedEdits() { return QBR1_Document().HasUnsavedEdits(); }

bool QBR1_HasUnsavedEditsAnyThread() { return QBR1_Document().HasUnsavedEditsAnyThread(); }

const std::vector<unsigned char>& QBR1_OpenedFile() { return QBR1_Document().OpenedFile(); }

std::vector<unsigned char> QBR1_SavedFileBytes() { return QBR1_Document().SavedFileBytes(); }

std::size_t QBR1_HeaderSize() { return QBR1_Document().HeaderSize(); }

std::size_t QBR1_CopierHeaderSize(std::size_t file_size) {
  return file_size > kCopierHeader && (file_size - kCopierHeader) % kCopierBlock == 0 ? kCopierHeader : 0;
}

void QBR1_ResetEdits(std::vector<unsigned char> file, std::size_t header) {
  QBR1_Document().Reset(std::move(file), header);
}

void QBR1_MarkSaved() { QBR1_Document().MarkSaved(); }

std::size_t QBR1_UndoCount() { return QBR1_Document().UndoCount(); }

std::size_t QBR1_RedoCount() { return QBR1_Document().RedoCount(); }
