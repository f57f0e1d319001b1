#pragma once

#include <cstddef>

// One image compiled into the program: the bytes of its PNG file.
struct EmbeddedArt {
  int id;
  const unsigned char* data;
  size_t size;
};

// The compiled-in images, ended by an entry with id 0 (generated at build time).
const EmbeddedArt* EmbeddedArtTable();
