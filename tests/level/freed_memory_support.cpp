#include "tests/level/freed_memory.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

struct Freed {
  const void* p;
  bool array;
};
constexpr std::size_t kCapacity = 64;
Freed freed[kCapacity];
std::atomic<std::size_t> freed_count{0};
std::atomic<bool> recording{false};

void* Allocate(std::size_t n) { return std::malloc(n == 0 ? 1 : n); }

void Release(void* p, bool array) {
  if (p != nullptr && recording.load()) {
    const std::size_t i = freed_count.fetch_add(1);
    if (i < kCapacity) freed[i] = {p, array};
  }
  std::free(p);
}

}  // namespace

FreedMemory::FreedMemory() {
  freed_count = 0;
  recording = true;
}

FreedMemory::~FreedMemory() { recording = false; }

bool FreedMemory::Freed(const void* p, bool array) const {
  const std::size_t n = count() < kCapacity ? count() : kCapacity;
  for (std::size_t i = 0; i < n; ++i)
    if (freed[i].p == p && freed[i].array == array) return true;
  return false;
}

std::size_t FreedMemory::count() const { return freed_count.load(); }

void* operator new(std::size_t n) {
  if (void* p = Allocate(n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
  if (void* p = Allocate(n)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void operator delete(void* p) noexcept { Release(p, false); }
void operator delete[](void* p) noexcept { Release(p, true); }
void operator delete(void* p, std::size_t) noexcept { Release(p, false); }
void operator delete[](void* p, std::size_t) noexcept { Release(p, true); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p, false); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p, true); }
