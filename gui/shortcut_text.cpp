#include "gui/shortcut_text.h"

#include "gui/commands.h"
#include "platform/allegro_include.h"

namespace {

struct NamedKey {
  int scancode;
  const char* name;
};

// The keys that have no letter, digit or function-key number of their own.
constexpr NamedKey kNamedKeys[] = {
    {KEY_DEL, "Del"},         {KEY_INSERT, "Ins"},
    {KEY_HOME, "Home"},       {KEY_END, "End"},
    {KEY_PGUP, "PgUp"},       {KEY_PGDN, "PgDn"},
    {KEY_ENTER, "Enter"},     {KEY_SPACE, "Space"},
    {KEY_TAB, "Tab"},         {KEY_BACKSPACE, "Backspace"},
    {KEY_ESC, "Esc"},         {KEY_LEFT, "Left"},
    {KEY_RIGHT, "Right"},     {KEY_UP, "Up"},
    {KEY_DOWN, "Down"},       {KEY_EQUALS, "="},
    {KEY_MINUS, "-"},         {KEY_PLUS_PAD, "Num +"},
    {KEY_MINUS_PAD, "Num -"}, {KEY_OPENBRACE, "["},
    {KEY_CLOSEBRACE, "]"},    {KEY_COMMA, ","},
    {KEY_STOP, "."},          {KEY_SLASH, "/"},
};

std::string KeyName(int scancode) {
  if (scancode >= KEY_A && scancode <= KEY_Z) return std::string(1, static_cast<char>('A' + scancode - KEY_A));
  if (scancode >= KEY_0 && scancode <= KEY_9) return std::string(1, static_cast<char>('0' + scancode - KEY_0));
  if (scancode >= KEY_0_PAD && scancode <= KEY_9_PAD)
    return std::string("Num ").append(std::to_string(scancode - KEY_0_PAD));
  if (scancode >= KEY_F1 && scancode <= KEY_F12) return std::string("F").append(std::to_string(scancode - KEY_F1 + 1));
  for (const NamedKey& k : kNamedKeys) {
    if (k.scancode == scancode) return k.name;
  }
  return "";
}

}  // namespace

std::string ShortcutLabel(int scancode, unsigned mods) {
  const std::string name = KeyName(scancode);
  if (name.empty()) return "";
  std::string label;
  if (mods & kModCtrl) label += "Ctrl+";
  if (mods & kModAlt) label += "Alt+";
  if (mods & kModShift) label += "Shift+";
  return label + name;
}
