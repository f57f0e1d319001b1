#pragma once

#include <cstdio>
#include <cstdlib>
#include <utility>

// An instance of T that its owner installs for the layers below to reach, in place of a
// global table: the program object holds the registries it fills, and a test holds fresh
// ones. While an Installed<T> lives, Installed<T>::Current() is its instance; when it ends,
// the instance installed before it is current again, so scopes must end in the reverse
// order of their start (members and locals do).
template <class T>
class Installed {
 public:
  // Installs a fresh instance, or one made from `initial` (a copy of the one in force, say).
  Installed() : previous_(Slot()) { Slot() = &instance_; }
  explicit Installed(T initial) : instance_(std::move(initial)), previous_(Slot()) { Slot() = &instance_; }
  ~Installed() { Slot() = previous_; }
  Installed(const Installed&) = delete;
  Installed& operator=(const Installed&) = delete;

  // The instance in force. Reaching for one while none is installed is a fault of the
  // program's start-up (or of a test's fixture), which no caller could recover from.
  static T& Current() {
    T* current = Slot();
    if (current == nullptr) {
      std::fprintf(stderr, "qbrre: %s used while none is installed\n", T::kInstalledName);
      std::abort();
    }
    return *current;
  }

 private:
  static T*& Slot() {
    static T* slot = nullptr;
    return slot;
  }

  T instance_;
  T* previous_;
};
