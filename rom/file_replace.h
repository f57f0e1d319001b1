// Whole-file reads and writes for Save, patches and the commands without a window. A write never
// touches the target until the new content is complete on disk: it goes to a temporary file in the
// same folder, which is then renamed over the target, so a failure leaves the old file whole.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Reads a whole regular file. False, with a short reason in `error` (no path, no trailing period),
// when it is not a regular file or cannot be read whole.
bool ReadRegularFile(const std::string& path, std::vector<unsigned char>& out, std::string& error);

// How long ReplaceFile waits for the disk. `Durable` flushes the new file and its folder before it
// returns (images, patches, a picture the user asked for). `Batch` leaves the flush to the system,
// for files written by the hundred (an extraction, which a new run writes again: a flush each would
// cost more than the writing). Either way the old file is replaced in one rename.
enum class ReplaceSync { Durable, Batch };

// Replaces the file at `path` (or creates it) with `n` bytes at `data`: temporary file beside it,
// written, flushed to disk (ReplaceSync), given the old file's permissions, renamed over it. A
// symbolic link is followed (also one to a file not there yet): the file it names is replaced or
// created, the link stays. False, with a short reason in `error`, the temporary file removed and the
// old file untouched, when any step fails (read-only folder, full disk, file size limit, a folder in
// the way, a loop of links). Safe to call from several threads.
bool ReplaceFile(const std::string& path, const unsigned char* data, std::size_t n, std::string& error,
                 ReplaceSync sync = ReplaceSync::Durable);
bool ReplaceFile(const std::string& path, const std::vector<unsigned char>& bytes, std::string& error,
                 ReplaceSync sync = ReplaceSync::Durable);

// True when both paths name one file on disk (same device and inode: another spelling of the path,
// a symbolic link or a hard link); false when either names nothing.
bool SameFile(const std::string& a, const std::string& b);

// The check before anything writes `output`: "" when it is none of `inputs`; else the short reason
// it may not be written (it is the input "IN"; choose another file), for the first of `inputs`
// that it is under any name (SameFile). Writing there would replace a file the writer reads.
std::string OutputIsInput(const std::string& output, const std::vector<std::string>& inputs);

// Keeps a copy of the file at `path`, with its permission bits, as `backup` unless `backup` already
// exists (it is never overwritten). The copy is written under a temporary name and takes the name
// `backup` only when whole. True when the backup exists afterwards; false, with `error`, when it
// could not be made.
bool KeepBackupOnce(const std::string& path, const std::string& backup, std::string& error);

// Removes the temporary files of ReplaceFile and KeepBackupOnce in the folder of the file `path`
// whose writing process no longer runs (a kill or a crash left them): the name carries the process id.
void RemoveStaleTempFilesBeside(const std::string& path);

// Identity of a file on disk, to notice that another program changed it since it was read.
struct FileStamp {
  bool exists = false;
  unsigned long long size = 0;
  long long mtime_ns = 0;
  unsigned long long inode = 0;
  unsigned long long device = 0;
  bool operator==(const FileStamp&) const = default;
};
// The stamp of the file at `path` now (exists false when there is none).
FileStamp StampOf(const std::string& path);
