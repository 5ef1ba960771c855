#pragma once
// Angle constants and the sign function of the angle arithmetic, for every computation.
#include <numbers>

namespace kelmar {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kTwoPi = 2 * kPi;
inline constexpr double kDegToRad = kPi / 180;
inline constexpr double kRadToDeg = 180 / kPi;

// −1, 0 or 1 by the sign of x; 0 for either zero and for NaN.
inline double Sign(double x) { return x < 0 ? -1.0 : x > 0 ? 1.0 : 0.0; }

}  // namespace kelmar
