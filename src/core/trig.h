#pragma once
// The core's trigonometry: one implementation for the desktop and the browser (musl's, in
// third_party/musl_math), because each platform's C library rounds some results differently in
// the last bit and the two builds must print the same digits.
#include <musl_math.h>

namespace kelmar::trig {

inline double sin(double x) { return kelmar_musl_sin(x); }
inline double cos(double x) { return kelmar_musl_cos(x); }
inline double tan(double x) { return kelmar_musl_tan(x); }
inline double asin(double x) { return kelmar_musl_asin(x); }
inline double atan(double x) { return kelmar_musl_atan(x); }
inline double atan2(double y, double x) { return kelmar_musl_atan2(y, x); }

}  // namespace kelmar::trig
