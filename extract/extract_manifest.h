#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The manifest an extraction leaves in its folder (qbrre-extract.txt): the
// program's version, the CRC-32 of the image the files came from, and each
// file's name and CRC-32 as written. The import reads it to tell the files
// changed since the extraction from those that still hold what was extracted.

// The manifest's file name inside an extraction folder.
extern const char* const kExtractManifestName;

struct ExtractManifest {
  std::string version;                      // the program that wrote it
  std::uint32_t image_crc = 0;              // the image the files were extracted from
  std::map<std::string, std::uint32_t> files;  // file name -> CRC-32 of its bytes as written
};

// CRC-32 of `bytes`.
std::uint32_t ExtractCrc32(const std::vector<unsigned char>& bytes);

// The text of `manifest`, one line each: "version V", "image XXXXXXXX", "file NAME XXXXXXXX".
std::string ExtractManifestText(const ExtractManifest& manifest);

// Reads a manifest's text; lines it does not know are left out. False when the
// text has no "image" line (not a manifest).
bool ParseExtractManifest(const std::string& text, ExtractManifest& out);

// Reads `folder`'s manifest; false when there is none or it cannot be read.
bool ReadExtractManifest(const std::string& folder, ExtractManifest& out);

// The CRC-32 the manifest records for `name`, matched without regard to case;
// false when it records none.
bool ManifestCrcOf(const ExtractManifest& manifest, const std::string& name, std::uint32_t& crc);
