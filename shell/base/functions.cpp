#include "shell/base/functions.h"

#include <algorithm>
#include <cmath>
#include <sys/stat.h>

#include "platform/dialogs.h"
#include "platform/window.h"
#include "shell/base/close_request.h"

const unsigned char NMenuFontSizes[128] = {
    0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
    0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
    7, 3, 5, 10, 9, 8, 8, 3, 5, 5, 7, 7, 4, 7, 3, 6,  // 0x20
    7, 7, 7, 7,  7, 7, 7, 7, 7, 7, 3, 4, 6, 7, 6, 7,  // 0x30
    9, 9, 7, 7,  7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7,  // 0x40
    7, 7, 7, 7,  7, 7, 7, 9, 7, 7, 7, 5, 6, 5, 7, 7,  // 0x50
    4, 7, 7, 7,  7, 7, 7, 7, 6, 3, 4, 6, 3, 9, 7, 7,  // 0x60
    7, 7, 7, 7,  7, 7, 7, 9, 7, 7, 7, 5, 3, 5, 8, 7,  // 0x70
};

uint16_t mVersion = 0x0060;
bool mDebugVr = true;
std::string mExtraLt;
uint16_t mEditMde = 0;
std::string mEditMdS[4] = {"QBR", "QBR1 - QBR", "QBR2 - QBR", "QBR3 - QBR"};

std::string int2string(int value, int digits) {
  long long wide = value;  // INT_MIN has no positive int
  std::string magnitude = std::to_string(wide < 0 ? -wide : wide);
  std::string sign = wide < 0 ? "-" : "";
  std::size_t width = static_cast<std::size_t>(std::max(digits, 0));
  if (sign.size() + magnitude.size() < width) {
    magnitude.insert(0, width - sign.size() - magnitude.size(), '0');
  }
  return sign + magnitude;
}

std::string int2hexstr(int value, int digits) {
  static const char kHex[] = "0123456789ABCDEF";
  int count = std::clamp(digits, 0, 8);
  uint32_t bits = static_cast<uint32_t>(value);
  std::string text(static_cast<std::size_t>(count), '0');
  for (int i = count - 1; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = kHex[bits & 0xF];
    bits >>= 4;
  }
  return text;
}

int hexstr2int(const char* text, int count) {
  if (text == nullptr) return 0;
  uint32_t value = 0;
  for (int i = 0; i < count && text[i] != '\0'; ++i) {
    char c = text[i];
    uint32_t digit = c >= '0' && c <= '9'   ? static_cast<uint32_t>(c - '0')
                     : c >= 'A' && c <= 'F' ? static_cast<uint32_t>(c - 'A' + 10)
                                            : 0;
    value = (value << 4) | digit;
  }
  return static_cast<int>(value);
}

std::string bool2string(int value, const char* yes, const char* no) {
  const char* chosen = value != 0 ? yes : no;
  return chosen != nullptr ? chosen : "";
}

int helio_stringlength(const std::string& text) {
  int width = 0;
  for (char c : text) {
    unsigned char code = static_cast<unsigned char>(c);
    width += code < 128 ? NMenuFontSizes[code] : kNMenuFontHighCharWidth;
  }
  return width;
}

std::string mGetVersion() {
  std::string text = mEditMdS[mEditMde < 4 ? mEditMde : 0] + " Resource Editor v";
  for (int shift = 12; shift >= 0; shift -= 4) {
    text += int2hexstr(mVersion >> shift, 1);
    if (shift > 0) text += ".";
  }
  text += mExtraLt;
  if (mDebugVr) text += "    [Debug]";
  return text;
}

void Nullify(BITMAP*& bmp) {
  if (bmp != nullptr) destroy_bitmap(bmp);
  bmp = nullptr;
}

void Nullify(SAMPLE*& sample) {
  if (sample != nullptr) destroy_sample(sample);
  sample = nullptr;
}

void Nullify(FONT*& font) {
  if (font != nullptr) destroy_font(font);
  font = nullptr;
}

void ErrorBox(const std::string& text, const std::string& title) { PlatformShowBox(BoxKind::Error, title, text); }

void InfoBox(const std::string& text, const std::string& title) { PlatformShowBox(BoxKind::Info, title, text); }

void WarnBox(const std::string& text, const std::string& title) { PlatformShowBox(BoxKind::Warning, title, text); }

bool YesNoBox(const std::string& text, const std::string& title) {
  return PlatformShowBox(BoxKind::Question, title, text) == "yes";
}

std::vector<PlatformRect> HelioRegionCutouts(int w, int h) {
  std::vector<PlatformRect> cut;
  if (w <= 0 || h <= 0) return cut;
  const PlatformRect corners[] = {
      {0, 0, 4, 1}, {w - 4, 0, w, 1}, {0, 1, 2, 2},     {w - 2, 1, w, 2},
      {0, 2, 1, 4}, {w - 1, 2, w, 4}, {0, h - 1, 1, h}, {w - 1, h - 1, w, h},
  };
  // A window smaller than the corners keeps only what lies inside it.
  for (PlatformRect r : corners) {
    r.left = std::clamp(r.left, 0, w);
    r.right = std::clamp(r.right, 0, w);
    r.top = std::clamp(r.top, 0, h);
    r.bottom = std::clamp(r.bottom, 0, h);
    if (r.left < r.right && r.top < r.bottom) cut.push_back(r);
  }
  return cut;
}

void SetRegionHelio(int w, int h) { PlatformSetWindowShape(w, h, HelioRegionCutouts(w, h)); }

std::vector<PlatformRect> ScanRegion(BITMAP* bmp) {
  std::vector<PlatformRect> cut;
  if (bmp == nullptr) return cut;
  for (int y = 0; y < bmp->h; ++y) {
    for (int x = 0; x < bmp->w; ++x) {
      if ((static_cast<uint32_t>(getpixel(bmp, x, y)) & 0xFFFFFFu) == 0xFF00FFu) cut.push_back({x, y, x + 1, y + 1});
    }
  }
  return cut;
}

int GetTaskBarHeight() { return PlatformTaskBarHeight(); }

// Allegro's position is never negative (its range is the graphics mode), so
// the division needs no rounding toward minus infinity.
int MouseX() { return mouse_x / PlatformWindowScale(); }
int MouseY() { return mouse_y / PlatformWindowScale(); }
bool MouseInWindow() { return mouse_on_screen() != 0; }

bool IsMouseHover(int x, int y, int w, int h) {
  int mx = MouseX();
  int my = MouseY();
  return mx >= x && mx < x + w && my >= y && my < y + h;
}

void CaptionButtonFunction(int button) {
  if (button == 0) {
    RequestProgramClose();
  } else if (button == 3) {
    PlatformMinimiseWindow();
  } else {
    ErrorBox("Whatever you just tried to do is not implemented.", "MISSING FUNCTION");
  }
}

bool CreateFolder(const char* path) { return path != nullptr && mkdir(path, 0777) == 0; }

int GetPercentageOfPixels(double pixels, double total, double value) {
  if (!(total > 0.0) || std::isnan(pixels) || std::isnan(value)) return 0;
  double share = value / total * pixels;
  // Clamped as a double first: out-of-range doubles have no int value.
  double upper = std::clamp(pixels, 0.0, 2147483647.0);
  return static_cast<int>(std::clamp(std::trunc(share), 0.0, upper));
}
