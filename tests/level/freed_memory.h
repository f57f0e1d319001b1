#pragma once

// This test executable replaces the global operator new and delete with ones that can record what is
// freed, so that a test sees a release happen instead of relying on a leak checker (which the suite
// runs with leak detection off).

#include <cstddef>

// Records every pointer freed by delete or delete[] while it lives (up to 64).
class FreedMemory {
 public:
  FreedMemory();
  ~FreedMemory();
  FreedMemory(const FreedMemory&) = delete;
  FreedMemory& operator=(const FreedMemory&) = delete;
  // Whether `p` was freed by delete[] (array) or by delete (not array) while recording.
  bool Freed(const void* p, bool array) const;
  // How many pointers were freed while recording.
  std::size_t count() const;
};
