#pragma once

#include <string>
#include <vector>

// The music browser of Sounds/Music... ($0208): the SPC files of the music
// folder with their titles, and a "Stop" entry. The chosen tune plays through
// the music host while the user keeps working, until another tune, Stop or the
// end of the program.

// The folder of the tunes, ending in "/": the folder "Folder" of section "Music" of the configuration
// when it is set, else Resources/Music/ of the working directory (a portable folder), else
// $XDG_DATA_HOME/qbrre/Music/ (default ~/.local/share/qbrre/Music/): the first of these that is a
// folder, or the first of them when none is.
std::string MusicFolder();

// One tune of the folder.
struct MusicFile {
  std::string name;   // file name inside MusicFolder()
  std::string title;  // the input plug-in's title for it
  int length_ms;      // the input plug-in's length; not positive when unknown
};

// The regular files of MusicFolder() whose extension is "spc" (any letter case),
// sorted by name, with the titles and lengths the input plug-in gives. Empty
// without a music host or without such files.
std::vector<MusicFile> ListMusicFiles();

// Shows the browser and plays or stops what the user chooses. Without a music
// host, or without tunes, shows the host's own message once instead.
void BrowseMusic();
