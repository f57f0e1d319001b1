#include "level/free_space_config.h"

#include <cctype>
#include <cstdlib>

#include "level/graphics_space.h"
#include "platform/config_lock.h"
#include "shell/base/functions.h"
#include "platform/allegro_include.h"

namespace {

FreeSpaceDeclaration accepted;

std::string Trimmed(const std::string& s) {
  std::size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

// One hexadecimal number, digits only (an optional 0x in front).
bool ParseHex(std::string s, long long& v) {
  s = Trimmed(s);
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s = s.substr(2);
  if (s.empty() || s.size() > 8) return false;
  for (char c : s) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  v = std::strtoll(s.c_str(), nullptr, 16);
  return true;
}

}  // namespace

bool QBR1_ParseFreeRanges(const std::string& text, std::vector<ByteRange>& out, std::string& bad) {
  bool ok = true;
  std::size_t at = 0;
  while (at <= text.size()) {
    std::size_t comma = text.find(',', at);
    if (comma == std::string::npos) comma = text.size();
    const std::string item = Trimmed(text.substr(at, comma - at));
    at = comma + 1;
    if (item.empty()) continue;
    const std::size_t dash = item.find('-');
    ByteRange r;
    if (dash == std::string::npos || !ParseHex(item.substr(0, dash), r.first) ||
        !ParseHex(item.substr(dash + 1), r.last) || r.last < r.first) {
      if (ok) bad = item;
      ok = false;
      continue;
    }
    out.push_back(r);
  }
  return ok;
}

FreeSpaceDeclaration QBR1_ReadFreeSpaceConfig(std::vector<std::string>& refusals) {
  FreeSpaceDeclaration decl;
  for (ListKind kind : {ListKind::Objects, ListKind::Bananas}) {
    const char* key = kind == ListKind::Objects ? "Objects" : "Bananas";
    std::string text;
    {
      ConfigGuard guard;
      text = get_config_string("FreeSpace", key, "");
    }
    std::string bad;
    if (!QBR1_ParseFreeRanges(text, decl.Of(kind), bad)) {
      refusals.push_back(std::string("FreeSpace ") + key + " \"" + bad + "\" refused: it is not a range START-END in hexadecimal");
    }
  }
  return decl;
}

std::vector<std::string> QBR1_LoadFreeSpace() {
  std::vector<std::string> refusals;
  FreeSpaceDeclaration decl = QBR1_ReadFreeSpaceConfig(refusals);
  const std::vector<std::string> checked = QBR1_CheckFreeSpace(CurrentRom(), qbr1gbl, decl);
  refusals.insert(refusals.end(), checked.begin(), checked.end());
  const std::vector<std::string> graphics = QBR1_CheckGraphicsSpace(CurrentRom());
  refusals.insert(refusals.end(), graphics.begin(), graphics.end());
  accepted = std::move(decl);
  return refusals;
}

const FreeSpaceDeclaration& QBR1_FreeSpace() { return accepted; }

void ReportFreeSpace() {
  const std::vector<std::string> refusals = QBR1_LoadFreeSpace();
  if (refusals.empty()) return;
  std::string text = "The game configuration declares free space the lists cannot use:";
  for (const std::string& r : refusals) text += "\n" + r;
  ErrorBox(text, "Free Space Refused");
}

std::vector<ByteRange> QBR1_ReadGraphicsFreeRanges(std::vector<std::string>& refusals) {
  std::string text;
  {
    ConfigGuard guard;
    text = get_config_string("FreeSpace", "Graphics", "");
  }
  std::vector<ByteRange> ranges;
  std::string bad;
  if (!QBR1_ParseFreeRanges(text, ranges, bad))
    refusals.push_back("FreeSpace Graphics \"" + bad + "\" refused: it is not a range START-END in hexadecimal");
  return ranges;
}
