#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/HelioWin.h"
#include "gui/MenuMain.h"
#include "gui/commands.h"
#include "gui/press_gate.h"
#include "gui/view_frame.h"
#include "platform/dialogs.h"
#include "platform/window.h"
#include "tests/gui/menu_support.h"

namespace {

constexpr int kW = 776, kH = 604;
constexpr int kFileX = 10, kBarY = 29;
constexpr int kViewX = 300, kViewY = 300;

// A live GUI root with the level editor's bars, and the view's press gate
// following the left button as the level editor does: after the GUI root's
// Proc in every update.
class PressGateTest : public ::testing::Test {
 public:

  // One update with the mouse at (x, y) and the left button in four-state `q`;
  // returns the state the view sees.
  int Step(int x, int y, int q) {
    ui.Step(x, y, q);
    const int seen = presses.Filter(mouse_q, 0, EditorViewFrame().InArea(x, y)).left;
    seen_.push_back(seen);
    return seen;
  }
  void Click(int x, int y) {
    Step(x, y, 1);
    Step(x, y, 3);
    Step(x, y, 0);
  }
  // The point of File's entry `label`, whose row lies over the view; its command
  // shows a box, as a command's dialog does.
  void EntryPoint(const char* label, int& x, int& y) {
    const CMenuItem* e = ui.Entry({"File", label});
    ASSERT_NE(e, nullptr);
    CommandHandler shows_box;
    shows_box.run = [] { PlatformShowBox(BoxKind::Info, "Box", "over the view"); };
    ui.RegisterRecorded(static_cast<CommandId>(e->ID), shows_box);
    x = e->WindowX(kW) + 8;
    y = e->iy + e->ih / 2;
    ASSERT_TRUE(EditorViewFrame().InArea(x, y)) << label << " does not lie over the view";
  }
  // Whether the view saw a press it acts on, and saw its release.
  bool Acted() const {
    bool pressed = false, released = false;
    for (int s : seen_) {
      pressed = pressed || s == 1;
      released = released || (pressed && s == 3);
    }
    return pressed && released;
  }
  bool SawAnything() const {
    for (int s : seen_) {
      if (s != 0) return true;
    }
    return false;
  }

  GuiHarness ui{1, kW, kH};
  ViewPresses presses;
  std::vector<int> seen_;
};

// Where and when a press went down decides whether the view acts on it.
TEST_F(PressGateTest, OnlyAPressAimedAtTheViewActs) {
  struct Case {
    const char* origin;
    std::function<void(PressGateTest&)> gesture;
    bool acts;
  };
  const Case cases[] = {
      {"in view", [](PressGateTest& t) { t.Click(kViewX, kViewY); }, true},
      {"on the menu bar", [](PressGateTest& t) { t.Click(kFileX, kBarY); }, false},
      {"on the view while a menu is open: it only closes the menu",
       [](PressGateTest& t) {
         t.Click(kFileX, kBarY);
         t.seen_.clear();
         t.Click(kViewX, kViewY);
       },
       false},
      {"on an open menu's entry over the view, which opens a box",
       [](PressGateTest& t) {
         int x = 0, y = 0;
         t.EntryPoint("Save IPS...", x, y);
         t.Click(kFileX, kBarY);
         t.ui.Move(x, y);
         t.seen_.clear();
         t.Click(x, y);
         EXPECT_EQ(t.ui.Only("box"), std::vector<std::string>{"box Box"}) << "the entry ran";
       },
       false},
      {"during a dialog: the press that answered it is still down as it returns",
       [](PressGateTest& t) {
         t.Step(kViewX, kViewY, 0);
         PlatformShowBox(BoxKind::Info, "Box", "answered with a click over the view");
         t.Step(kViewX, kViewY, 1);
         t.Step(kViewX, kViewY, 2);
         t.Step(kViewX, kViewY, 3);
       },
       false},
      {"held across a dialog: a drag that began in the view ends when the box comes",
       [](PressGateTest& t) {
         t.Step(kViewX, kViewY, 1);
         t.Step(kViewX, kViewY, 2);
         PlatformShowBox(BoxKind::Info, "Box", "came during a drag");
         EXPECT_EQ(t.Step(kViewX + 40, kViewY, 2), 3) << "the gesture ends at once";
         EXPECT_EQ(t.Step(kViewX + 80, kViewY, 2), 0);
         EXPECT_EQ(t.Step(kViewX + 80, kViewY, 3), 0);
         t.seen_.erase(t.seen_.begin(), t.seen_.begin() + 3);
       },
       false},
      {"focus lost",
       [](PressGateTest& t) {
         t.ui.window->focused = false;
         t.Click(kViewX, kViewY);
         t.ui.window->focused = true;
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.origin);
    presses = ViewPresses();
    ui.menu().CloseMenus();
    ui.Move(kViewX, kViewY);
    seen_.clear();
    c.gesture(*this);
    EXPECT_EQ(Acted(), c.acts);
    if (!c.acts) {
      EXPECT_FALSE(SawAnything()) << "a press the view does not act on reads idle throughout";
    }
  }
  // After all of them a plain click in the view acts again.
  seen_.clear();
  Click(kViewX, kViewY);
  EXPECT_TRUE(Acted());
}

}  // namespace
