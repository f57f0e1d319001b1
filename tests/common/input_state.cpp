#include "tests/common/input_state.h"

#include <gtest/gtest.h>

#include <string>

InputStateGuard::InputStateGuard()
    : mouse_x_(mouse_x),
      mouse_y_(mouse_y),
      mouse_z_(mouse_z),
      mouse_w_(mouse_w),
      mouse_b_(mouse_b),
      key_shifts_(key_shifts) {
  for (int k = 0; k < KEY_MAX; ++k) keys_[static_cast<std::size_t>(k)] = key[k];
}

InputStateGuard::~InputStateGuard() {
  mouse_x = mouse_x_;
  mouse_y = mouse_y_;
  mouse_z = mouse_z_;
  mouse_w = mouse_w_;
  mouse_b = mouse_b_;
  key_shifts = key_shifts_;
  for (int k = 0; k < KEY_MAX; ++k) key[k] = keys_[static_cast<std::size_t>(k)];
}

std::string ChangedInputState() {
  std::string changed;
  const struct {
    const char* name;
    int value;
  } ints[] = {{"mouse_x", mouse_x}, {"mouse_y", mouse_y}, {"mouse_z", mouse_z},
              {"mouse_w", mouse_w}, {"mouse_b", mouse_b}, {"key_shifts", key_shifts}};
  for (const auto& i : ints)
    if (i.value != 0) changed += std::string(" ") + i.name + "=" + std::to_string(i.value);
  for (int k = 0; k < KEY_MAX; ++k)
    if (key[k] != 0) changed += " key[" + std::to_string(k) + "]";
  return changed;
}

namespace {

// Fails the test that leaves the input globals changed, then clears them so the next test starts clean.
// GoogleTest calls OnTestEnd of the listeners in reverse order, so this runs before the result is printed
// and the failure counts for the test that caused it.
class InputStateCheck : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override {
    const std::string changed = ChangedInputState();
    if (changed.empty()) return;
    ADD_FAILURE() << "the test left Allegro's input globals changed:" << changed;
    mouse_x = 0;
    mouse_y = 0;
    mouse_z = 0;
    mouse_w = 0;
    mouse_b = 0;
    key_shifts = 0;
    for (int k = 0; k < KEY_MAX; ++k) key[k] = 0;
  }
};

[[maybe_unused]] const bool registered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new InputStateCheck);
  return true;
}();

}  // namespace
