#include "rom/image_transaction.h"

ImageTransaction::ImageTransaction(ImageDocument& document, const std::string& label, int level,
                                   const EditSelection& before)
    : document_(document), mark_(document.Open(level, label, before)) {}

ImageTransaction::~ImageTransaction() {
  if (open_) document_.RollBack(mark_);
}

void ImageTransaction::SetLabel(const std::string& label) {
  if (open_) document_.SetLabel(mark_, label);
}

void ImageTransaction::SetSelectionAfter(const EditSelection& after) {
  if (open_) document_.SetSelectionAfter(mark_, after);
}

void ImageTransaction::Commit() {
  if (!open_) return;
  open_ = false;
  document_.Close(mark_);
}
