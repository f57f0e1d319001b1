#include "extract/import.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <utility>

#include "extract/import_resources.h"
#include "rom/file_replace.h"
#include "level/rom_access.h"
#include "rom/image_edits.h"
#include "rom/image_transaction.h"

namespace {

namespace fs = std::filesystem;

// No exchange file comes near this; a larger one is not read at all.
constexpr std::uintmax_t kMaxFileSize = 64u << 20;

// One file of a resource: its line and, once read, what it says the resource holds.
struct Entry {
  std::string path;
  ImportName name;
  ImportLine line;
  bool read = false;
  std::vector<unsigned char> content;
};

void Refuse(Entry& e, const std::string& reason) {
  e.line.outcome = "refused: " + reason;
  e.line.refused = true;
}

void ReadEntry(Entry& e, const ImportResource& resource) {
  if (!resource.refusal.empty()) return Refuse(e, resource.refusal);
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(e.path, ec);
  if (!ec && size > kMaxFileSize) return Refuse(e, "the file is larger than any the extraction writes");
  std::vector<unsigned char> bytes;
  std::string error;
  if (!ReadRegularFile(e.path, bytes, error)) return Refuse(e, "cannot read the file: " + error);
  std::string reason;
  if (!QBR1_ImportContent(e.name, bytes, resource, e.content, reason)) return Refuse(e, reason);
  e.read = true;
}

// Decides and writes one resource from its files (one, or a preferred form and a .bin).
void ImportResourceFiles(std::vector<Entry*>& files, const ImportResource& resource) {
  for (Entry* e : files) ReadEntry(*e, resource);
  // The files that would change the image, the preferred form first.
  std::vector<Entry*> changing;
  for (Entry* e : files) {
    if (!e->read) continue;
    if (e->content == resource.current) {
      e->line.outcome = "unchanged";
    } else {
      changing.push_back(e);
    }
  }
  std::stable_sort(changing.begin(), changing.end(),
                   [](const Entry* a, const Entry* b) { return a->name.preferred > b->name.preferred; });
  Entry* written = nullptr;
  for (Entry* e : changing) {
    if (written) {
      if (e->content == written->content) {
        e->line.outcome = written->line.outcome + ", the same as " + written->line.file;
      } else {
        written->line.outcome += "; " + e->line.file + " differs from it and was left out";
        Refuse(*e, written->line.file + " differs from it and wins");
      }
      continue;
    }
    std::string outcome;
    if (QBR1_ImportWrite(resource, e->content, outcome)) {
      e->line.outcome = outcome;
      written = e;
    } else {
      Refuse(*e, outcome);
    }
  }
}

}  // namespace

bool QBR1_IsImportableName(const std::string& name) {
  ImportName parsed;
  return ParseImportName(name, parsed);
}

std::vector<ImportLine> QBR1_ImportFiles(const std::vector<std::string>& paths) {
  std::vector<Entry> entries;
  for (const std::string& path : paths) {
    Entry e;
    e.path = path;
    e.line.file = fs::path(path).filename().string();
    if (!ParseImportName(e.line.file, e.name)) Refuse(e, "not a file name the extraction writes");
    entries.push_back(std::move(e));
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.line.file < b.line.file; });
  // Every file is compared with the image as it was before the first write.
  const std::string_view image = CurrentRom().Tail(0);
  const std::vector<unsigned char> before(image.begin(), image.end());
  const RomView beforeView(before.data(), before.size());
  std::map<std::pair<int, int>, std::vector<Entry*>> resources;
  for (Entry& e : entries)
    if (!e.line.refused) resources[{static_cast<int>(e.name.kind), e.name.number}].push_back(&e);
  ImageTransaction edit(QBR1_Document(), "Import");
  for (auto& [key, files] : resources)
    ImportResourceFiles(files, QBR1_ImportResource(static_cast<ImportKind>(key.first), key.second, beforeView));
  edit.Commit();
  std::vector<ImportLine> lines;
  for (Entry& e : entries) lines.push_back(std::move(e.line));
  return lines;
}

bool QBR1_ImportFolder(const std::string& folder, std::vector<ImportLine>& lines, std::string& error) {
  lines.clear();
  std::error_code ec;
  std::vector<std::string> paths;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (QBR1_IsImportableName(it->path().filename().string())) paths.push_back(it->path().string());
  if (ec) {
    error = ec.message();
    return false;
  }
  lines = QBR1_ImportFiles(paths);
  return true;
}
