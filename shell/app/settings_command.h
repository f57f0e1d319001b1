#pragma once

// Level > Settings... ($0209): a form of the settings a user changes, each field
// showing its value now: the emulator command of Launch Game, the window scale,
// the music folder of Sounds/Music... and the grid's colour. The changed values
// are checked (ChangeSettings); a refused one is named in an error box and nothing
// is written. Otherwise they are stored (StoreSettings: Configuration.INI and the
// configuration in memory; a file that cannot be written is named in an error box)
// and take effect at once: the grid's colour and the window's scale from the next
// frame, the emulator and the music folder from the next launch and browse.
void EditSettings();
