#pragma once

#include <string>

// Where the program finds its game configuration and keeps its settings. A working directory that holds
// GameConfig/ is a portable folder (the checkout, an unpacked copy): the game configuration is read and
// Configuration.INI is kept there. Elsewhere the game configuration comes from the installed data
// (<prefix>/share/qbrre/GameConfig/, found from the executable's folder <prefix>/bin) and the settings go
// to $XDG_CONFIG_HOME/qbrre/ (default ~/.config/qbrre/).

// The folder of the installed data relative to the executable's folder.
inline constexpr const char* kInstalledDataFolder = "../share/qbrre";
// The folder of the installed plug-ins of the Debian package relative to the executable's folder.
inline constexpr const char* kInstalledLibraryFolder = "../lib/qbrre";

// Whether the working directory holds a GameConfig/ folder.
bool PlatformPortableFolder();

// The game configuration file to read: `relative` (e.g. "GameConfig/QBR v10U.INI") in the working
// directory of a portable folder, else the same name under the installed data when it is there, else
// `relative` unchanged.
std::string PlatformGameConfigFile(const std::string& relative);

// The program's folder of one kind of user files: $`variable`/qbrre when the variable names an
// absolute path, else ~/`below_home`/qbrre; "" when neither is known. Kinds: XDG_CONFIG_HOME with
// ".config" (settings), XDG_STATE_HOME with ".local/state" (recovery copies), XDG_DATA_HOME with
// ".local/share" (music).
std::string PlatformUserFolder(const char* variable, const char* below_home);

// The settings file `name` (e.g. "Configuration.INI"): in the working directory of a portable folder,
// else in $XDG_CONFIG_HOME/qbrre/ or ~/.config/qbrre/ (the working directory when neither is known).
// With `make_folder`, a missing settings folder is made, so that the settings can be written.
std::string PlatformSettingsFile(const std::string& name, bool make_folder);
