#include "extract/extract_manifest.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "bfa/bfa.h"
#include "rom/file_replace.h"

const char* const kExtractManifestName = "qbrre-extract.txt";

namespace {

std::string Hex8(std::uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(v));
  return text;
}

bool ParseHex8(const std::string& text, std::uint32_t& v) {
  if (text.empty() || text.size() > 8) return false;
  v = 0;
  for (char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    v = v << 4 | static_cast<std::uint32_t>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10);
  }
  return true;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::uint32_t ExtractCrc32(const std::vector<unsigned char>& bytes) {
  return CharArray_Get_CRC32(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
}

std::string ExtractManifestText(const ExtractManifest& manifest) {
  std::string text = "# The files as extracted: the import takes only those changed since.\n";
  text += "version " + manifest.version + "\n";
  text += "image " + Hex8(manifest.image_crc) + "\n";
  for (const auto& [name, crc] : manifest.files) text += "file " + name + " " + Hex8(crc) + "\n";
  return text;
}

bool ParseExtractManifest(const std::string& text, ExtractManifest& out) {
  out = {};
  bool image = false;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("version ", 0) == 0) {
      out.version = line.substr(8);
      continue;
    }
    std::istringstream words(line);
    std::string key, a, b;
    words >> key >> a >> b;
    std::uint32_t crc = 0;
    if (key == "image" && ParseHex8(a, crc)) {
      out.image_crc = crc;
      image = true;
    } else if (key == "file" && !a.empty() && ParseHex8(b, crc)) {
      out.files[a] = crc;
    }
  }
  return image;
}

bool ReadExtractManifest(const std::string& folder, ExtractManifest& out) {
  std::vector<unsigned char> bytes;
  std::string error;
  if (!ReadRegularFile((std::filesystem::path(folder) / kExtractManifestName).string(), bytes, error)) return false;
  return ParseExtractManifest(std::string(bytes.begin(), bytes.end()), out);
}

bool ManifestCrcOf(const ExtractManifest& manifest, const std::string& name, std::uint32_t& crc) {
  const auto exact = manifest.files.find(name);
  if (exact != manifest.files.end()) {
    crc = exact->second;
    return true;
  }
  const std::string lower = Lower(name);
  for (const auto& [file, value] : manifest.files)
    if (Lower(file) == lower) {
      crc = value;
      return true;
    }
  return false;
}
