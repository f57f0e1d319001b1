#include "extract/extraction_job.h"

#include "bfa/bfa.h"
#include "level/rom_access.h"
#include "rom/image_save.h"

ExtractionJob::ExtractionJob(ExtractKind kind, std::string folder) : image_(QBR1.begin(), QBR1.end()) {
  thread_ = std::thread([this, kind, folder = std::move(folder), file = ImageFilePath()] {
    const ThreadRomImage copy(RomView(image_.data(), image_.size()));
    report_ = QBR1_Extract(kind, folder, file, &control_);
    done_ = true;
  });
}

ExtractionJob::~ExtractionJob() {
  Cancel();
  if (thread_.joinable()) thread_.join();
}

const ExtractReport& ExtractionJob::Finish() {
  if (thread_.joinable()) thread_.join();
  return report_;
}
