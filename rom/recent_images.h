// File > recent images: the image files opened last, most recent first, at most eight, kept in
// section "Recent" of Configuration.INI as Image1 ... Image8.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

inline constexpr std::size_t kRecentImagesMax = 8;

// Whether two paths name one file: their canonical forms (symbolic links and "." and ".." resolved
// as far as the path exists, the rest normalised) are equal. Also true for a file that is gone.
bool SameImagePath(const std::string& a, const std::string& b);

// `list` with `path` first: entries naming the same file (SameImagePath) go, and the list is cut to
// kRecentImagesMax entries.
std::vector<std::string> WithRecentImage(std::vector<std::string> list, const std::string& path);

// `list` without the entries naming the same file as `path`.
std::vector<std::string> WithoutRecentImage(std::vector<std::string> list, const std::string& path);

// The list kept in the configuration in force: Image1 to Image8 in order, empty ones skipped.
std::vector<std::string> RecentImages();

// Keeps `list` (its first kRecentImagesMax entries) as the list, in memory and in the settings file
// (StoreSettings). False, with a short reason in `error`, when the file could not be written.
bool StoreRecentImages(const std::vector<std::string>& list, std::string& error);

// Puts the file `path` (made absolute) first in the kept list, as the settings file holds it now (so an
// entry another window added stays). A settings file that cannot be written
// is named in one line on stderr; the list in memory holds the change.
void RememberRecentImage(const std::string& path);

// Takes the file `path` out of the kept list; a write failure as for RememberRecentImage.
void ForgetRecentImage(const std::string& path);

// A number that changes each time the kept list is stored, so that a menu showing it rebuilds.
unsigned RecentImagesGeneration();
