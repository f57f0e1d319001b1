#pragma once

// Sound start-up of the program object: installs Allegro's sound drivers and
// sets up the music host (SNESAMP) with its two plug-ins.
class CSpeakers {
 public:
  // Installs the digital and MIDI drivers (a box on failure, start-up goes on),
  // sets the global volumes, then creates and prepares the music host.
  CSpeakers();
  // Stops any music still playing so no decoder thread outlives the program
  // object; the host itself stays until the process ends.
  ~CSpeakers();
};
