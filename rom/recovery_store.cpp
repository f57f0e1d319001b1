#include "rom/recovery_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bfa/bfa.h"
#include "platform/data_paths.h"
#include "rom/file_replace.h"

namespace fs = std::filesystem;

namespace {

constexpr char kFormatLine[] = "QBRRE recovery copy 1\n";
constexpr char kSuffix[] = ".recovery";
// A header is a few paths long; more than this is no copy of ours.
constexpr std::size_t kLongestHeader = 64 * 1024;

std::string Canonical(const std::string& path) {
  if (path.empty()) return "";
  std::error_code error;
  fs::path absolute = fs::weakly_canonical(fs::absolute(path, error), error);
  if (error) absolute = fs::absolute(path, error).lexically_normal();
  return absolute.string();
}

std::string BaseName(const std::string& path) { return fs::path(path).filename().string(); }

long long ModifiedNs(const struct stat& s) {
  return static_cast<long long>(s.st_mtim.tv_sec) * 1000000000LL + s.st_mtim.tv_nsec;
}

// The value of the header line "key=" in `header`; false when there is none.
bool Field(const std::string& header, const char* key, std::string& value) {
  const std::string label = std::string("\n") + key + "=";
  const std::size_t at = header.find(label);
  if (at == std::string::npos) return false;
  const std::size_t from = at + label.size();
  value = header.substr(from, header.find('\n', from) - from);
  return true;
}

bool Number(const std::string& header, const char* key, unsigned long long& value) {
  std::string text;
  if (!Field(header, key, text) || text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::strtoull(text.c_str(), nullptr, 10);
  return true;
}

}  // namespace

RecoveryIdentity MakeRecoveryIdentity(const std::string& image, const std::string& patch) {
  return {Canonical(image), Canonical(patch)};
}

std::string RecoveryFolder() {
  const std::string state = PlatformUserFolder("XDG_STATE_HOME", ".local/state");
  return state.empty() ? "" : (fs::path(state) / "recovery").string();
}

std::string RecoveryStem(const RecoveryIdentity& id) {
  if (id.image.empty() && id.patch.empty()) return "demo";
  // A newline cannot end a path's first part, so no two pairs of paths give one text.
  const std::string key = id.patch.empty() ? id.image : id.image + "\n" + id.patch;
  char crc[16];
  std::snprintf(crc, sizeof crc, "%08X",
                static_cast<unsigned>(CharArray_Get_CRC32(key.data(), static_cast<int>(key.size()))));
  const std::string name = id.patch.empty() ? BaseName(id.image) : BaseName(id.patch) + "-on-" + BaseName(id.image);
  return name + "-" + crc;
}

std::string RecoveryCopyPath(const std::string& folder, const RecoveryIdentity& id, int n) {
  std::string name = RecoveryStem(id);
  if (n > 0) {
    name += '.';
    name += std::to_string(n);
  }
  name += kSuffix;
  return (fs::path(folder) / name).string();
}

std::string RecoveryHeaderPrefix(const RecoveryIdentity& id, const std::string& config) {
  return std::string(kFormatLine) + "image=" + id.image + "\npatch=" + id.patch + "\nconfig=" + config +
         "\nposition=";
}

std::string RecoveryHeader(const RecoveryIdentity& id, const std::string& config, unsigned long long position,
                           std::size_t size) {
  return RecoveryHeaderPrefix(id, config) + std::to_string(position) + "\nsize=" + std::to_string(size) + "\n\n";
}

bool WriteRecoveryCopy(const std::string& path, const std::string& header, const std::vector<unsigned char>& bytes,
                       std::string& error) {
  std::error_code made;
  fs::create_directories(fs::path(path).parent_path(), made);
  std::vector<unsigned char> content(header.begin(), header.end());
  content.insert(content.end(), bytes.begin(), bytes.end());
  return ReplaceFile(path, content, error);
}

bool ReadRecoveryCopy(const std::string& path, RecoveryCopy& out, bool with_bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat s {};
  std::string head(kLongestHeader, '\0');
  ssize_t got = -1;
  if (::fstat(fd, &s) == 0 && S_ISREG(s.st_mode)) got = ::pread(fd, head.data(), head.size(), 0);
  ::close(fd);
  if (got <= 0) return false;
  head.resize(static_cast<std::size_t>(got));
  const std::size_t end = head.find("\n\n");
  if (head.rfind(kFormatLine, 0) != 0 || end == std::string::npos) return false;
  head.resize(end + 1);
  RecoveryCopy copy;
  copy.path = path;
  unsigned long long size = 0;
  if (!Field(head, "image", copy.id.image) || !Field(head, "patch", copy.id.patch) ||
      !Field(head, "config", copy.config) || !Number(head, "position", copy.position) || !Number(head, "size", size))
    return false;
  const std::size_t data_at = end + 2;
  // A copy cut short (a full disk, a crash while it was written) is no copy.
  if (static_cast<unsigned long long>(s.st_size) != data_at + size) return false;
  copy.size = static_cast<std::size_t>(size);
  copy.modified_ns = ModifiedNs(s);
  if (with_bytes) {
    std::vector<unsigned char> all;
    std::string error;
    if (!ReadRegularFile(path, all, error) || all.size() != data_at + size) return false;
    copy.bytes.assign(all.begin() + static_cast<std::ptrdiff_t>(data_at), all.end());
  }
  out = std::move(copy);
  return true;
}

std::vector<RecoveryCopy> ListRecoveryCopies(const std::string& folder) {
  std::vector<RecoveryCopy> copies;
  std::error_code error;
  if (folder.empty()) return copies;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.size() <= sizeof kSuffix - 1 || name.compare(name.size() - (sizeof kSuffix - 1), std::string::npos, kSuffix) != 0)
      continue;
    RecoveryCopy copy;
    if (ReadRecoveryCopy(entry.path().string(), copy, false)) copies.push_back(std::move(copy));
  }
  std::sort(copies.begin(), copies.end(),
            [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.modified_ns > b.modified_ns; });
  return copies;
}

std::vector<RecoveryCopy> RecoveryCopiesOf(const std::string& folder, const RecoveryIdentity& id) {
  std::vector<RecoveryCopy> copies = ListRecoveryCopies(folder);
  std::erase_if(copies, [&](const RecoveryCopy& copy) { return !(copy.id == id); });
  return copies;
}

std::string RecoveryTimeText(long long ns) {
  const std::time_t seconds = static_cast<std::time_t>(ns / 1000000000LL);
  std::tm local {};
  localtime_r(&seconds, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}
