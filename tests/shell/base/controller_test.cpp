#include <gtest/gtest.h>

#include <cstring>

#include "platform/dialogs.h"
#include "platform/window.h"
#include "shell/base/controller.h"

namespace {

TEST(QuadState, Transitions) {
  struct Case {
    int previous;
    bool now;
    int next;
  };
  const Case cases[] = {
      {0, false, 0}, {0, true, 1}, {1, false, 3}, {1, true, 2}, {2, false, 3},  {2, true, 2},
      {3, false, 0}, {3, true, 1}, {4, false, 4}, {4, true, 4}, {-1, true, -1}, {255, false, 255},
  };
  for (const Case& c : cases) EXPECT_EQ(QuadStateSwitch(c.now, c.previous), c.next) << c.previous << "," << c.now;
}

// Builds the controller against the headless window with an in-process dialog script catching the
// install errors, and leaves the input globals idle.
class ControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.screen_w = 1281;
    window_.screen_h = 1024;
    PlatformUseHeadlessWindow(window_);
    PlatformUseScriptedDialogs([this](const DialogRecord& record) {
      boxes_.push_back(record);
      return std::string("ok");
    });
    pad_ = new CController;
    ClearInputs();
  }
  void TearDown() override {
    ClearInputs();
    delete pad_;
    PlatformUseDesktopDialogs();
    PlatformUseX11Window();
  }
  static void ClearInputs() {
    for (int k = 0; k < KEY_MAX; ++k) key[k] = 0;
    mouse_b = 0;
  }

  HeadlessWindow window_;
  std::vector<DialogRecord> boxes_;
  CController* pad_ = nullptr;
};

TEST_F(ControllerTest, ConstructorBindsThePadAndHidesTheStartupWindow) {
  const unsigned char codes[12] = {0xD2, 0xD3, 0xD0, 0xD1, 0x82, 0x81, 0x83, 0x80, 0x84, 0x85, 0x89, 0x88};
  EXPECT_EQ(std::memcmp(pad_->btn_cfg_codes, codes, sizeof codes), 0);
  for (int i = 0; i < CController::kButtons; ++i) {
    EXPECT_EQ(pad_->qbtn[i], 0);
    EXPECT_FALSE(pad_->btn[i]);
  }
  EXPECT_EQ(window_.shape_w, 0);
  EXPECT_EQ(window_.shape_h, 0);
  EXPECT_EQ(window_.x, 380);  // (1281 - 520) / 2 rounded down
  EXPECT_EQ(window_.y, 282);  // (1024 - 176) / 3
  EXPECT_EQ(window_.w, 520);
  EXPECT_EQ(window_.h, 176);
  // Without a display the keyboard and mouse cannot be installed.
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[0].text, "Could not install keyboard!");
  EXPECT_EQ(boxes_[0].title, "BEWARE:");
  EXPECT_EQ(boxes_[1].text, "Couldn't install mouse!");
  EXPECT_EQ(boxes_[1].title, "Allegro Error");
  EXPECT_EQ(boxes_[1].kind, BoxKind::Error);
}

TEST_F(ControllerTest, StatusOfEachKindOfCode) {
  mouse_b = ~0;
  EXPECT_FALSE(pad_->GetStatus(CController::kNoInput));  // never active, whatever is held
  EXPECT_TRUE(pad_->GetStatus(0xA0));
  EXPECT_TRUE(pad_->GetStatus(0xBF));
  mouse_b = 2;
  EXPECT_FALSE(pad_->GetStatus(0xA0));
  EXPECT_TRUE(pad_->GetStatus(0xA1));
  key[KEY_A] = 1;
  EXPECT_TRUE(pad_->GetStatus(KEY_A));
  EXPECT_FALSE(pad_->GetStatus(KEY_B));
  EXPECT_FALSE(pad_->GetStatus(0x7F));  // beyond the key array
  // No joystick is installed: every joystick code is inactive.
  for (unsigned char code : {0x80, 0x9F, 0xC0, 0xD3, 0xFF}) EXPECT_FALSE(pad_->GetStatus(code)) << int(code);
}

TEST_F(ControllerTest, GetCodeFindsKeysBeforeMouseButtons) {
  EXPECT_EQ(pad_->GetCode(), CController::kNoInput);
  mouse_b = 4;
  EXPECT_EQ(pad_->GetCode(), 0xA2);
  mouse_b = 6;
  EXPECT_EQ(pad_->GetCode(), 0xA1);
  mouse_b = 7;
  EXPECT_EQ(pad_->GetCode(), 0xA0);
  key[KEY_ESC] = 1;
  key[KEY_A] = 1;
  EXPECT_EQ(pad_->GetCode(), KEY_A);  // the lowest key index wins
}

TEST_F(ControllerTest, HoldingAndReleasingAButton) {
  pad_->btn_cfg_codes[5] = KEY_SPACE;
  const struct {
    bool down;
    int state;
  } steps[] = {{false, 0}, {true, 1}, {true, 2}, {true, 2}, {false, 3}, {false, 0}, {true, 1}, {false, 3}};
  for (const auto& step : steps) {
    key[KEY_SPACE] = step.down ? 1 : 0;
    pad_->Process();
    EXPECT_EQ(pad_->qbtn[5], step.state);
    EXPECT_EQ(pad_->btn[5], step.down);
    EXPECT_EQ(pad_->qbtn[0], 0);  // the joystick buttons stay idle
  }
}

}  // namespace
