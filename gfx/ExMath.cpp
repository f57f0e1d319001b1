#include "gfx/ExMath.h"

#include <climits>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265;

double Radians(double degrees) { return degrees * kPi / 180.0; }

// Rounds a 24.8 value to a whole pixel: a fraction below one half is dropped, otherwise
// the value goes up to the next multiple of 256.
int WholePixel(int v) {
  const int fraction = v & 0xFF;
  v &= ~0xFF;
  return fraction < 128 || v > INT_MAX - 256 ? v : v + 256;
}

}  // namespace

int double2hex(double d) {
  const double v = d * 256.0;
  if (!(v == v)) return 0;
  if (v >= double(INT_MAX)) return INT_MAX;
  if (v <= double(INT_MIN)) return INT_MIN;
  return int(v);
}

double hex2double(int v) { return v * 0.00390625; }

unsigned long EXM_isqrt(unsigned long n) {
  // Two bits of n per step from the top, as many steps as n has bit pairs.
  constexpr int kBits = int(sizeof(unsigned long) * CHAR_BIT);
  unsigned long root = 0, remainder = 0;
  for (int i = 0; i < kBits / 2; ++i) {
    root <<= 1;
    remainder = (remainder << 2) | (n >> (kBits - 2));
    n <<= 2;
    ++root;
    if (root <= remainder) {
      remainder -= root;
      ++root;
    } else {
      --root;
    }
  }
  return root >> 1;
}

long EXM_sqdist(long x1, long y1, long x2, long y2) {
  // The gap between two longs always fits an unsigned long.
  auto span = [](long a, long b) {
    return a > b ? (unsigned long)a - (unsigned long)b : (unsigned long)b - (unsigned long)a;
  };
  const unsigned long dx = span(x1, x2), dy = span(y1, y2);
  const unsigned long limit = LONG_MAX;
  const unsigned long root = EXM_isqrt(limit);
  if (dx > root || dy > root) return LONG_MAX;
  const unsigned long sum = dx * dx + dy * dy;  // each square at most LONG_MAX: no wrap in unsigned
  return sum > limit ? LONG_MAX : long(sum);
}

double EXM_distance(double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1, dy = y2 - y1;
  return std::sqrt(dx * dx + dy * dy);
}

double arctangent(double a, double b) { return std::atan(a / b) * 180.0 / kPi; }

int EXM_sin(double angle, double r) { return WholePixel(double2hex(std::sin(Radians(angle)) * r)); }

int EXM_cos(double angle, double r) {
  const int v = WholePixel(double2hex(std::cos(Radians(angle)) * r));
  return v == INT_MIN ? INT_MAX : -v;
}

double AngleTwoPoints(double x1, double y1, double x2, double y2) {
  if (x2 == x1) return y2 <= y1 ? 0.0 : 180.0;
  if (y2 == y1) return x2 > x1 ? 90.0 : 270.0;
  const double dx = x2 - x1, dy = y2 - y1;
  double angle = arctangent(dy, dx) + (dx > 0 ? 90.0 : 270.0);
  if (angle < 0.0) angle += 360.0;
  if (angle >= 360.0) angle -= 360.0;
  return angle;
}

int GetSector(double angle) {
  if (!(angle >= 11.25 && angle < 348.75)) return 0;
  return int((angle + 11.25) / 22.5);
}
