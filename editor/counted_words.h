#pragma once

#include <cstddef>
#include <string>

// "1 object", "3 objects": a count with the word that agrees with it.
inline std::string Counted(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}
