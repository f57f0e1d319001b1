#pragma once

// Geometry helpers of the raster library: 24.8 fixed point, integer square
// root, distances and compass angles in degrees (0 up, 90 right, screen y down).

// 24.8 fixed point of d, truncated toward zero (kept within the int range; NaN gives 0).
int double2hex(double d);

// The double value of the 24.8 fixed-point value v.
double hex2double(int v);

// Largest r with r * r <= n (digit-by-digit, two bits per step).
unsigned long EXM_isqrt(unsigned long n);

// (x2 - x1)^2 + (y2 - y1)^2, never negative (saturates at the largest long).
long EXM_sqdist(long x1, long y1, long x2, long y2);

// Euclidean distance between the two points.
double EXM_distance(double x1, double y1, double x2, double y2);

// atan(a / b) in degrees.
double arctangent(double a, double b);

// sin(angle degrees) * r in 24.8 fixed point, rounded to a whole pixel (multiple of 256).
int EXM_sin(double angle, double r);

// The same with cos, negated because screen y grows downward.
int EXM_cos(double angle, double r);

// Compass angle in [0, 360) from point 1 to point 2 in screen coordinates.
double AngleTwoPoints(double x1, double y1, double x2, double y2);

// Which of 16 sectors of 22.5 degrees holds the angle; sector 0 is centred on 0.
int GetSector(double angle);
