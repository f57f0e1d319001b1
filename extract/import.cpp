#include "extract/import.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <utility>

#include "extract/extract_manifest.h"
#include "extract/import_resources.h"
#include "rom/file_replace.h"
#include "level/rom_access.h"
#include "rom/image_edits.h"
#include "rom/image_transaction.h"

namespace {

namespace fs = std::filesystem;

// No exchange file comes near this; a larger one is not read at all.
constexpr std::uintmax_t kMaxFileSize = 64u << 20;

constexpr char kExtracted[] = "unchanged since extraction";

// One file of a resource: its line and, once read, what it says the resource holds.
struct Entry {
  std::string path;
  ImportName name;
  ImportLine line;
  bool read = false;
  bool extracted = false;  // its bytes are those the folder's manifest records: the user did not change it
  std::vector<unsigned char> content;
};

// One resource and the files that describe it; `winner` is the file whose
// content goes in, `same` the files that say the same, `others` the files of
// the other form that differ from the image (a .bin beside a .png).
struct Resource {
  ImportResource r;
  std::vector<Entry*> files;
  Entry* winner = nullptr;
  std::vector<Entry*> same;
  std::vector<Entry*> others;
  ImportPlace place;
};

void Refuse(Entry& e, const std::string& reason) {
  e.line.outcome = "refused: " + reason;
  e.line.refused = true;
}

std::string Names(const std::vector<Entry*>& files, const Entry* except) {
  std::string text;
  for (const Entry* f : files)
    if (f != except) text += (text.empty() ? "" : ", ") + f->line.file;
  return text;
}

// Reads the file of `e` for `resource`. A file the manifest says is as
// extracted and whose content the image does not hold is skipped, also when it
// no longer suits the resource (the image changed since).
void ReadEntry(Entry& e, const ImportResource& resource, const ExtractManifest* manifest) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(e.path, ec);
  if (!ec && size > kMaxFileSize) return Refuse(e, "the file is larger than any the extraction writes");
  std::vector<unsigned char> bytes;
  std::string error;
  if (!ReadRegularFile(e.path, bytes, error)) return Refuse(e, "cannot read the file: " + error);
  std::uint32_t crc = 0;
  e.extracted = manifest != nullptr && ManifestCrcOf(*manifest, e.line.file, crc) && crc == ExtractCrc32(bytes);
  std::string reason = resource.refusal;
  if (reason.empty() && QBR1_ImportContent(e.name, bytes, resource, e.content, reason)) {
    e.read = true;
    if (e.content == resource.current) {
      e.line.outcome = "unchanged";
    } else if (e.extracted) {
      e.line.outcome = kExtracted;
      e.read = false;
    }
    return;
  }
  if (e.extracted) {
    e.line.outcome = kExtracted;
    return;
  }
  Refuse(e, reason);
}

// Chooses what goes in of one resource: the preferred form over a .bin; two
// files of one form that differ are both refused, each naming the other.
void Decide(Resource& res) {
  std::vector<Entry*> preferred, plain;
  for (Entry* e : res.files)
    if (e->read && e->content != res.r.current) (e->name.preferred ? preferred : plain).push_back(e);
  std::vector<Entry*>& group = preferred.empty() ? plain : preferred;
  if (group.empty()) return;
  if (!preferred.empty()) res.others = plain;
  const bool agree = std::all_of(group.begin(), group.end(), [&](const Entry* e) { return e->content == group[0]->content; });
  if (!agree) {
    for (Entry* e : group) Refuse(*e, Names(group, e) + " would write different bytes to the same place");
    for (Entry* e : res.others) Refuse(*e, "left out: " + Names(group, nullptr) + " differ from each other");
    res.others.clear();
    return;
  }
  res.winner = group[0];
  res.same.assign(group.begin() + 1, group.end());
}

// The first address two places would write differently, or -1.
long long Clash(const ImportPlace& a, const ImportPlace& b, const Resource& ra, const Resource& rb) {
  const long long first = std::max(a.offset, b.offset), last = std::min(a.Last(), b.Last());
  if (first > last) return -1;
  if (a.whole || b.whole) {
    // Characters share a stored block: the same block with the same characters is no clash.
    const bool same = a.whole && b.whole && a.offset == b.offset && ra.winner->content == rb.winner->content;
    return same ? -1 : first;
  }
  for (long long at = first; at <= last; ++at) {
    const std::size_t i = static_cast<std::size_t>(at - a.offset), j = static_cast<std::size_t>(at - b.offset);
    if (a.mine[i] && b.mine[j] && a.bytes[i] != b.bytes[j]) return at;
  }
  return -1;
}

// Refuses both resources of every pair whose files would write different bytes
// to the same place (levels that share a map or a palette, archetypes that share graphics).
void RefuseClashes(std::vector<Resource*>& writing) {
  std::sort(writing.begin(), writing.end(), [](const Resource* a, const Resource* b) { return a->place.offset < b->place.offset; });
  std::map<Resource*, std::vector<std::string>> clashes;
  for (std::size_t i = 0; i < writing.size(); ++i)
    for (std::size_t j = i + 1; j < writing.size() && writing[j]->place.offset <= writing[i]->place.Last(); ++j) {
      Resource& a = *writing[i];
      Resource& b = *writing[j];
      const long long at = Clash(a.place, b.place, a, b);
      if (at < 0) continue;
      char where[32];
      std::snprintf(where, sizeof where, " (at 0x%06llX)", at);
      clashes[&a].push_back(b.winner->line.file + where);
      clashes[&b].push_back(a.winner->line.file + where);
    }
  for (auto& [res, with] : clashes) {
    std::string names;
    for (const std::string& n : with) names += (names.empty() ? "" : ", ") + n;
    for (Entry* e : res->files)
      if (!e->line.refused && e->line.outcome.empty())
        Refuse(*e, names + " would write different bytes to the same place");
    res->winner = nullptr;
  }
  std::erase_if(writing, [](const Resource* r) { return r->winner == nullptr; });
}

void Write(Resource& res, const RomView& before) {
  Entry& w = *res.winner;
  std::string outcome;
  if (!QBR1_ImportWrite(res.r, w.content, before, outcome)) {
    Refuse(w, outcome);
    for (Entry* e : res.same) Refuse(*e, outcome);
    for (Entry* e : res.others) Refuse(*e, "left out: " + w.line.file + ", which differs from it, was refused");
    return;
  }
  w.line.outcome = outcome;
  for (Entry* e : res.same) e->line.outcome = outcome + ", the same as " + w.line.file;
  for (Entry* e : res.others) {
    if (e->content == w.content) {
      e->line.outcome = outcome + ", the same as " + w.line.file;
    } else {
      w.line.outcome += "; " + e->line.file + " differs from it and was left out";
      Refuse(*e, w.line.file + " differs from it and wins");
    }
  }
}

}  // namespace

bool QBR1_IsImportableName(const std::string& name) {
  ImportName parsed;
  return ParseImportName(name, parsed);
}

std::vector<ImportLine> QBR1_ImportFiles(const std::vector<std::string>& paths, const ImportOptions& options) {
  std::vector<Entry> entries;
  for (const std::string& path : paths) {
    Entry e;
    e.path = path;
    e.line.file = fs::path(path).filename().string();
    if (!ParseImportName(e.line.file, e.name)) Refuse(e, "not a file name the extraction writes");
    entries.push_back(std::move(e));
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.line.file < b.line.file; });
  // The manifest of each folder the files come from.
  std::map<std::string, std::optional<ExtractManifest>> manifests;
  if (!options.all)
    for (const Entry& e : entries) {
      const std::string folder = fs::path(e.path).parent_path().string();
      if (manifests.count(folder)) continue;
      ExtractManifest m;
      manifests[folder] = ReadExtractManifest(folder.empty() ? "." : folder, m) ? std::optional(m) : std::nullopt;
    }
  // Every file is compared with the image as it was before the first write.
  const std::string_view image = CurrentRom().Tail(0);
  const std::vector<unsigned char> before(image.begin(), image.end());
  const RomView beforeView(before.data(), before.size());
  std::map<std::pair<int, int>, Resource> resources;
  for (Entry& e : entries)
    if (!e.line.refused) resources[{static_cast<int>(e.name.kind), e.name.number}].files.push_back(&e);
  std::vector<Resource*> writing;
  for (auto& [key, res] : resources) {
    res.r = QBR1_ImportResource(static_cast<ImportKind>(key.first), key.second, beforeView);
    for (Entry* e : res.files) {
      const auto m = manifests.find(fs::path(e->path).parent_path().string());
      ReadEntry(*e, res.r, m != manifests.end() && m->second ? &*m->second : nullptr);
    }
    Decide(res);
    if (res.winner == nullptr) continue;
    res.place = QBR1_ImportPlace(res.r, res.winner->content, beforeView);
    writing.push_back(&res);
  }
  RefuseClashes(writing);
  ImageTransaction edit(QBR1_Document(), "Import");
  for (auto& [key, res] : resources)
    if (res.winner != nullptr) Write(res, beforeView);
  edit.Commit();
  std::vector<ImportLine> lines;
  for (Entry& e : entries) lines.push_back(std::move(e.line));
  return lines;
}

bool QBR1_ImportFolder(const std::string& folder, std::vector<ImportLine>& lines, std::string& error,
                       const ImportOptions& options) {
  lines.clear();
  std::error_code ec;
  std::vector<std::string> paths;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (QBR1_IsImportableName(it->path().filename().string())) paths.push_back(it->path().string());
  if (ec) {
    error = ec.message();
    return false;
  }
  if (!paths.empty()) lines = QBR1_ImportFiles(paths, options);
  return true;
}

const char* const kImportNothingToImport =
    "holds no file to import (gfx-0xNN.png, gfx-0xNN.bin, tileset-0xNN.bin, tilemap-0xNN.bin, palette-0xNN.bin, "
    "palette-0xNN.gpl)";
