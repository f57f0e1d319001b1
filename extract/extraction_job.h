#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "extract/extract.h"

// One extraction running on a thread of its own (the Extraction mode's), from
// a copy of the loaded image taken when it starts: edits of the image while it
// runs change nothing it writes, and nothing it reads. The image's file is
// never written (QBR1_Extract).
class ExtractionJob {
 public:
  // Starts writing the files of `kind` into the existing folder `folder`.
  ExtractionJob(ExtractKind kind, std::string folder);
  // Cancels a run still going and waits for it.
  ~ExtractionJob();
  ExtractionJob(const ExtractionJob&) = delete;
  ExtractionJob& operator=(const ExtractionJob&) = delete;

  // Files written so far.
  int Written() const { return control_.written.load(); }
  // True once the run has ended (all written, stopped by a failure, or cancelled).
  bool Done() const { return done_.load(); }
  // Asks the run to stop after the file being written; what is written stays.
  void Cancel() { control_.cancel = true; }
  // Waits for the end of the run and gives its report.
  const ExtractReport& Finish();

 private:
  std::vector<unsigned char> image_;
  ExtractControl control_;
  ExtractReport report_;
  std::atomic<bool> done_{false};
  std::thread thread_;
};
