#include <X11/Xlib.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <mutex>
#include <unistd.h>

#include "platform/dialog_backend.h"

namespace {

// Answer-script position: the script named last and how many of its lines
// have been used. Kept in fixed storage so the crash handler can use it.
char scriptPath[PATH_MAX];
std::atomic<int> scriptConsumed{0};

// Copies line number `wanted` (0-based) of the file into `out`; false when
// the file has fewer lines or cannot be read. A final line without a newline
// counts; a carriage return before the newline is dropped.
bool ReadLine(const char* path, int wanted, char* out, std::size_t outCap) {
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[4096];
  int line = 0;
  std::size_t used = 0;
  bool any = false;  // bytes seen on the wanted line (or its newline)
  bool found = false;
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    for (ssize_t i = 0; i < n && !found; ++i) {
      char c = buffer[i];
      if (line == wanted) {
        any = true;
        if (c == '\n') {
          found = true;
        } else if (used + 1 < outCap) {
          out[used++] = c;
        }
      } else if (c == '\n') {
        ++line;
      }
    }
    if (found) break;
  }
  close(fd);
  if (!found && !any) return false;
  if (used > 0 && out[used - 1] == '\r') --used;
  out[used] = '\0';
  return true;
}

// Number of bytes of the UTF-8 sequence starting at s[i], or 0 when it is not
// a valid one. Overlong forms, surrogates and code points beyond U+10FFFF are
// not valid: a log reader that decodes strictly would reject the whole line.
std::size_t Utf8Length(const char* s, std::size_t size, std::size_t i) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  std::size_t len = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 0;
  if (len == 0 || i + len > size) return 0;
  // The lead byte narrows the range of the second one.
  unsigned char low = 0x80, high = 0xBF;
  if (c == 0xE0) low = 0xA0;
  if (c == 0xED) high = 0x9F;
  if (c == 0xF0) low = 0x90;
  if (c == 0xF4) high = 0x8F;
  const unsigned char second = static_cast<unsigned char>(s[i + 1]);
  if (second < low || second > high) return 0;
  for (std::size_t k = 2; k < len; ++k) {
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  }
  return len;
}

}  // namespace

bool NextScriptAnswer(const char* path, char* out, std::size_t outCap) {
  if (outCap == 0) return false;
  if (std::strncmp(path, scriptPath, sizeof scriptPath) != 0) {
    std::strncpy(scriptPath, path, sizeof scriptPath - 1);
    scriptConsumed = 0;
  }
  int index = scriptConsumed.fetch_add(1);
  return ReadLine(path, index, out, outCap);
}

void WriteFully(int fd, const char* data, std::size_t len) {
  while (len > 0) {
    ssize_t n = write(fd, data, len);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    data += n;
    len -= static_cast<std::size_t>(n);
  }
}

void AppendToDialogLog(const char* path, const char* line, std::size_t len) {
  int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  WriteFully(fd, line, len);
  close(fd);
}

std::size_t JsonEscapeInto(const char* text, std::size_t len, char* out, std::size_t outCap) {
  static const char kHex[] = "0123456789ABCDEF";
  std::size_t used = 0;
  auto put = [&](const char* piece, std::size_t n) {
    if (used + n >= outCap) return false;
    for (std::size_t k = 0; k < n; ++k) out[used++] = piece[k];
    return true;
  };
  bool fits = outCap > 0;
  for (std::size_t i = 0; i < len && fits;) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    char escape[7] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF], '\0'};
    const char* piece = nullptr;
    switch (c) {
      case '"': piece = "\\\""; break;
      case '\\': piece = "\\\\"; break;
      case '\n': piece = "\\n"; break;
      case '\r': piece = "\\r"; break;
      case '\t': piece = "\\t"; break;
      case '\b': piece = "\\b"; break;
      case '\f': piece = "\\f"; break;
      default: break;
    }
    if (piece != nullptr) {
      fits = put(piece, 2);
    } else if (c < 0x20 || c == 0x7F) {
      fits = put(escape, 6);
    } else if (c >= 0x80) {
      std::size_t seq = Utf8Length(text, len, i);
      if (seq > 0) {
        fits = put(text + i, seq);
        i += seq;
        continue;
      }
      // Not UTF-8: keep the byte as the Latin-1 character it most likely is.
      fits = put(escape, 6);
    } else {
      fits = put(text + i, 1);
    }
    ++i;
  }
  if (outCap > 0) out[used] = '\0';
  return used;
}

std::string JsonEscape(const std::string& text) {
  // Six output bytes per input byte at most.
  std::string out(text.size() * 6 + 1, '\0');
  out.resize(JsonEscapeInto(text.data(), text.size(), out.data(), out.size()));
  return out;
}

std::string DialogLogLine(const DialogRecord& record) {
  return std::string("{\"kind\": \"") + BoxKindName(record.kind) + "\", \"title\": \"" + JsonEscape(record.title) +
         "\", \"text\": \"" + JsonEscape(record.text) + "\", \"answer\": \"" + JsonEscape(record.answer) + "\"}\n";
}

bool DisplayAvailable() {
  static std::mutex guard;
  static std::string lastName;
  static bool lastResult = false;
  static bool checked = false;
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return false;
  std::lock_guard<std::mutex> lock(guard);
  // Opening a connection costs a round trip; the answer only changes with DISPLAY.
  if (!checked || lastName != name) {
    Display* display = XOpenDisplay(name);
    lastResult = display != nullptr;
    if (display != nullptr) XCloseDisplay(display);
    lastName = name;
    checked = true;
  }
  return lastResult;
}
