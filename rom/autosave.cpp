#include "rom/autosave.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "rom/image_edits.h"
#include "rom/image_save.h"
#include "rom/image_transaction.h"
#include "rom/open_image.h"
#include "rom/patch_session.h"
#include "shell/base/functions.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// ---- The writer thread --------------------------------------------------------------------------

struct WriteJob {
  std::string path, header;
  std::vector<unsigned char> bytes;
};

// One thread that writes the copies handed to it, the latest first: a job not yet started is
// replaced by a newer one.
class RecoveryWriter {
 public:
  ~RecoveryWriter() {
    {
      std::lock_guard<std::mutex> guard(lock_);
      stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

  void Post(WriteJob job) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!thread_.joinable()) Start();
    pending_ = std::move(job);
    changed_.notify_all();
  }

  // Waits until no write runs; a job not yet started is dropped when `drop` is set, else written.
  void WaitIdle(bool drop) {
    std::unique_lock<std::mutex> guard(lock_);
    if (drop) pending_.reset();
    changed_.wait(guard, [this] { return !busy_ && !pending_; });
  }

 private:
  void Start() {
    // The close signals belong to the worker alone.
    sigset_t close_signals, old;
    sigemptyset(&close_signals);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&close_signals, sig);
    pthread_sigmask(SIG_BLOCK, &close_signals, &old);
    thread_ = std::thread([this] { Loop(); });
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
  }

  void Loop() {
    std::unique_lock<std::mutex> guard(lock_);
    for (;;) {
      changed_.wait(guard, [this] { return stop_ || pending_; });
      if (stop_) return;
      WriteJob job = std::move(*pending_);
      pending_.reset();
      busy_ = true;
      guard.unlock();
      std::string error;
      if (!WriteRecoveryCopy(job.path, job.header, job.bytes, error))
        std::fprintf(stderr, "qbrre: cannot write the recovery copy \"%s\" (%s)\n", job.path.c_str(), error.c_str());
      guard.lock();
      busy_ = false;
      changed_.notify_all();
    }
  }

  std::mutex lock_;
  std::condition_variable changed_;
  std::optional<WriteJob> pending_;
  bool busy_ = false;
  bool stop_ = false;
  std::thread thread_;
};

RecoveryWriter& Writer() {
  static RecoveryWriter writer;
  return writer;
}

// ---- What a crash handler writes ------------------------------------------------------------------

// Prepared on the worker whenever the document's identity changes, so that the handler only copies
// bytes: the copy's path, a temporary name beside it and the header up to "position=".
struct CrashSlot {
  std::atomic<bool> ready{false};
  char path[PATH_MAX];
  char temp[PATH_MAX];
  char prefix[4 * PATH_MAX];
  std::size_t prefix_length = 0;
};
static_assert(std::atomic<bool>::is_always_lock_free);

CrashSlot crash_slot;

bool CopyInto(char* out, std::size_t cap, const std::string& text) {
  if (text.size() >= cap) return false;
  std::memcpy(out, text.data(), text.size());
  out[text.size()] = '\0';
  return true;
}

void PrepareCrashSlot(const std::string& path, const std::string& prefix) {
  crash_slot.ready = false;
  const std::string temp = (fs::path(path).parent_path() / ".crash-copy.tmp").string();
  if (path.empty() || !CopyInto(crash_slot.path, sizeof crash_slot.path, path) ||
      !CopyInto(crash_slot.temp, sizeof crash_slot.temp, temp) ||
      !CopyInto(crash_slot.prefix, sizeof crash_slot.prefix, prefix))
    return;
  crash_slot.prefix_length = prefix.size();
  crash_slot.ready = true;
}

// Makes every folder above the file `path` that is missing (mkdir only).
void MakeFoldersAbove(char* path) {
  for (char* p = path + 1; *p != '\0'; ++p) {
    if (*p != '/') continue;
    *p = '\0';
    ::mkdir(path, 0700);
    *p = '/';
  }
}

bool WriteAll(int fd, const void* data, std::size_t n) {
  const char* p = static_cast<const char*>(data);
  while (n > 0) {
    const ssize_t done = ::write(fd, p, n);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    p += done;
    n -= static_cast<std::size_t>(done);
  }
  return true;
}

// Decimal digits of `value` into `out` (at least 21 bytes); returns their count.
std::size_t Decimal(unsigned long long value, char* out) {
  char digits[24];
  std::size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (std::size_t i = 0; i < n; ++i) out[i] = digits[n - 1 - i];
  return n;
}

struct PieceTarget {
  int fd;
  off_t base;
  bool ok;
};

void PutPiece(void* context, std::size_t at, const unsigned char* bytes, std::size_t n) {
  auto* target = static_cast<PieceTarget*>(context);
  while (target->ok && n > 0) {
    const ssize_t done = ::pwrite(target->fd, bytes, n, target->base + static_cast<off_t>(at));
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) {
      target->ok = false;
      return;
    }
    bytes += done;
    at += static_cast<std::size_t>(done);
    n -= static_cast<std::size_t>(done);
  }
}

// ---- The worker's view of the document ------------------------------------------------------------

struct DocumentState {
  std::string key;  // image path, patch session and configuration as last seen
  RecoveryIdentity id;
  std::string folder;
  std::string copy_path;                // where this document's copies go
  std::vector<std::string> own_copies;  // removed by the next save
  std::vector<std::string> declined;    // offered at open and declined: never written over
  unsigned long long seen_generation = ~0ULL;
  bool unwritten = false;
  Clock::time_point last_edit, first_unwritten;
  std::optional<Clock::time_point> last_written;
};

DocumentState doc;
std::string pending_recovery;

std::string DocumentKey() {
  const OpenImage& image = TheImage();
  return image.Path() + "\n" + image.PatchRomPath() + "\n" + image.PatchPath() + "\n" + image.ConfigFile();
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// Takes the identity of the open document: where its copies go, and what a crash handler writes.
void Prepare() {
  doc.key = DocumentKey();
  doc.id = OpenDocumentIdentity();
  doc.folder = RecoveryFolder();
  doc.copy_path.clear();
  if (!doc.folder.empty()) {
    for (int n = 0; doc.copy_path.empty(); ++n) {
      const std::string candidate = RecoveryCopyPath(doc.folder, doc.id, n);
      if (!Contains(doc.declined, candidate)) doc.copy_path = candidate;
    }
  }
  if (!doc.copy_path.empty() && !Contains(doc.own_copies, doc.copy_path)) doc.own_copies.push_back(doc.copy_path);
  PrepareCrashSlot(doc.copy_path, RecoveryHeaderPrefix(doc.id, ImageGameConfig()));
}

std::string CurrentHeader(std::size_t size) {
  return RecoveryHeader(doc.id, ImageGameConfig(), QBR1_UndoCount(), size);
}

// The newest time of the document's files on disk (none for the demo image).
long long FilesModifiedNs(const RecoveryIdentity& id) {
  long long newest = 0;
  for (const std::string& path : {id.image, id.patch}) {
    struct stat s {};
    if (path.empty() || ::stat(path.c_str(), &s) != 0) continue;
    newest = std::max(newest, static_cast<long long>(s.st_mtim.tv_sec) * 1000000000LL + s.st_mtim.tv_nsec);
  }
  return newest;
}

}  // namespace

bool AutosaveDue(double since_edit, double since_unwritten, double since_written) {
  if (since_written < kAutosaveIntervalSeconds) return false;
  return since_edit >= kAutosaveQuietSeconds || since_unwritten >= kAutosaveIntervalSeconds;
}

RecoveryIdentity OpenDocumentIdentity() {
  const OpenImage& image = TheImage();
  if (!image.Path().empty()) return MakeRecoveryIdentity(image.Path(), "");
  if (image.InPatchSession()) return MakeRecoveryIdentity(image.PatchRomPath(), image.PatchPath());
  return {};
}

void AutosaveTick() {
  if (!TheImage().IsOpen()) return;
  const Clock::time_point now = Clock::now();
  const unsigned long long generation = QBR1_EditGeneration();
  if (generation != doc.seen_generation) {
    // Which document this is can change only with a new image, whose bytes bring a new generation,
    // or with Save As, which leaves nothing to keep until the next edit: so it is asked here, once
    // per change, not in every pass.
    if (DocumentKey() != doc.key) Prepare();
    doc.seen_generation = generation;
    doc.last_edit = now;
    if (!doc.unwritten) doc.first_unwritten = now;
    doc.unwritten = true;
  }
  if (!doc.unwritten || doc.copy_path.empty()) return;
  // Undone back to the file on disk: nothing to keep.
  if (!QBR1_HasUnsavedEdits()) {
    doc.unwritten = false;
    return;
  }
  const double since_written = doc.last_written ? Seconds(now - *doc.last_written) : 1e9;
  if (!AutosaveDue(Seconds(now - doc.last_edit), Seconds(now - doc.first_unwritten), since_written)) return;
  WriteJob job;
  job.bytes = QBR1_SavedFileBytes();
  job.header = CurrentHeader(job.bytes.size());
  job.path = doc.copy_path;
  Writer().Post(std::move(job));
  doc.unwritten = false;
  doc.last_written = now;
}

bool KeepWorkNow() {
  Writer().WaitIdle(true);
  if (!TheImage().IsOpen() || !QBR1_HasUnsavedEdits()) return true;
  if (DocumentKey() != doc.key) Prepare();
  const std::vector<unsigned char> bytes = QBR1_SavedFileBytes();
  std::string error = "no state folder is known (neither XDG_STATE_HOME nor HOME is set)";
  if (!doc.copy_path.empty() && WriteRecoveryCopy(doc.copy_path, CurrentHeader(bytes.size()), bytes, error)) {
    std::fprintf(stderr, "qbrre: the unsaved edits are kept in \"%s\"\n", doc.copy_path.c_str());
    return true;
  }
  std::fprintf(stderr, "qbrre: the unsaved edits are lost: cannot write \"%s\" (%s)\n", doc.copy_path.c_str(),
               error.c_str());
  return false;
}

void KeepWorkFromSignal() {
  static std::atomic<bool> started{false}, finished{false};
  // A second caller (two threads found the display gone) waits, up to 4 s, for the first one's copy
  // before its process ends.
  if (started.exchange(true)) {
    const timespec step{0, 10 * 1000 * 1000};
    for (int i = 0; i < 400 && !finished.load(); ++i) nanosleep(&step, nullptr);
    return;
  }
  struct Finish {
    ~Finish() { finished = true; }
  } finish;
  if (!crash_slot.ready.load() || !QBR1_HasUnsavedEditsAnyThread()) return;
  const ImageDocument& document = QBR1_Document();
  const std::size_t size = document.OpenedFile().size();
  if (size == 0) return;
  MakeFoldersAbove(crash_slot.temp);
  const int fd = ::open(crash_slot.temp, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return;
  char numbers[96];
  std::size_t used = Decimal(document.UndoCount(), numbers);
  std::memcpy(numbers + used, "\nsize=", 6);
  used += 6;
  used += Decimal(size, numbers + used);
  std::memcpy(numbers + used, "\n\n", 2);
  used += 2;
  PieceTarget target{fd, static_cast<off_t>(crash_slot.prefix_length + used), true};
  target.ok = WriteAll(fd, crash_slot.prefix, crash_slot.prefix_length) && WriteAll(fd, numbers, used);
  if (target.ok) document.ForEachSavedPiece(PutPiece, &target);
  const bool written = ::close(fd) == 0 && target.ok;
  if (!written || ::rename(crash_slot.temp, crash_slot.path) != 0) {
    ::unlink(crash_slot.temp);
    return;
  }
  constexpr char kKept[] = "qbrre: the unsaved edits are kept in \"";
  WriteAll(STDERR_FILENO, kKept, sizeof kKept - 1);
  WriteAll(STDERR_FILENO, crash_slot.path, std::strlen(crash_slot.path));
  WriteAll(STDERR_FILENO, "\"\n", 2);
}

void SetPendingRecovery(const std::string& path) { pending_recovery = path; }

bool RestoreRecoveryBytes(const std::vector<unsigned char>& file) {
  const std::vector<unsigned char> now = QBR1_SavedFileBytes();
  if (file.size() != now.size()) return false;
  // Every stretch in which the copy differs from the document now becomes a write of one undoable
  // edit, so the document then holds the copy; the copier header is not part of the image and stays
  // as opened.
  const std::size_t header = QBR1_HeaderSize();
  ImageTransaction edit(QBR1_Document(), "Restore recovery copy");
  std::size_t i = header;
  while (i < file.size()) {
    if (file[i] == now[i]) {
      ++i;
      continue;
    }
    std::size_t end = i + 1;
    while (end < file.size() && file[end] != now[end]) ++end;
    QBR1_WriteBytes(i - header, file.data() + i, end - i);
    i = end;
  }
  edit.Commit();
  return true;
}

void OfferRecoveryOnOpen() {
  Writer().WaitIdle(true);
  doc = DocumentState{};
  const std::string chosen = std::exchange(pending_recovery, std::string());
  const RecoveryIdentity id = OpenDocumentIdentity();
  const std::string folder = RecoveryFolder();
  const std::vector<RecoveryCopy> copies = RecoveryCopiesOf(folder, id);
  for (const RecoveryCopy& copy : copies) doc.own_copies.push_back(copy.path);
  // The newest copy that fits the image and is newer than its files; the one Recover... chose instead.
  const long long files = FilesModifiedNs(id);
  const RecoveryCopy* offered = nullptr;
  for (const RecoveryCopy& copy : copies) {
    if (copy.size != QBR1_OpenedFile().size()) continue;
    if (chosen.empty() ? copy.modified_ns > files : copy.path == chosen) {
      offered = &copy;
      break;
    }
  }
  if (offered != nullptr) {
    const bool restore =
        !chosen.empty() || YesNoBox("Restore the unsaved edits of \"" + ImageDisplayName() + "\" from " +
                                        RecoveryTimeText(offered->modified_ns) + "?",
                                    "Unsaved Edits Found");
    RecoveryCopy whole;
    if (restore && ReadRecoveryCopy(offered->path, whole, true)) {
      RestoreRecoveryBytes(whole.bytes);
    } else if (!restore) {
      // Kept until the document is saved; new copies go beside them.
      for (const RecoveryCopy& copy : copies)
        if (copy.modified_ns > files) doc.declined.push_back(copy.path);
    }
  }
  Prepare();
  // The edits restored are unsaved: the next tick counts them, so a copy follows.
}

void ForgetRecoveryCopies() {
  Writer().WaitIdle(true);
  if (DocumentKey() != doc.key) Prepare();
  for (const std::string& path : doc.own_copies) {
    std::error_code ignored;
    fs::remove(path, ignored);
  }
  for (const RecoveryCopy& copy : RecoveryCopiesOf(doc.folder, doc.id)) {
    std::error_code ignored;
    fs::remove(copy.path, ignored);
  }
  doc.own_copies.clear();
  doc.declined.clear();
  doc.unwritten = false;
  doc.last_written.reset();
  Prepare();
}

void WaitForAutosaveWriter() { Writer().WaitIdle(false); }
