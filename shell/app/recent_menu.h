// File > recent images ($0010-$0017): the kept list of images opened last (rom/recent_images.h) as
// numbered entries of every File menu, an entry whose file is gone drawn greyed. Choosing an entry
// opens its image as Open does; choosing a gone one takes it off the list and says so.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The label of the entry at `index` (0 the most recent) for the file `path`: its number from 1, a
// blank, the path with the home folder as "~", shortened in the middle past 48 characters; an
// apostrophe (which ends a text of the menu language) shows as '`', other characters the menu font
// lacks as '?'.
std::string RecentEntryLabel(std::size_t index, const std::string& path);

// The entries of `list` in the menu language, a separator first; "" for an empty list.
std::string RecentMenuText(const std::vector<std::string>& list);

// Chooses the entry at `index` of the list the menu shows: a file that is there opens as File > Open
// opens it (unsaved edits weighed first) and the mode an Open enters follows; a gone one is taken off
// the list, and a box says so.
void ChooseRecentImage(std::size_t index);

// Registers the eight commands, the File menus' entries (RegisterMenuInsert) and the hook that puts
// each image file opened or saved as first in the list (SetImageFileHook).
void RegisterRecentImages();
