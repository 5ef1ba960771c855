#pragma once
// The low-precision solar position model and the day's time arguments.
#include <numbers>

#include "calc_state.h"
#include "observer.h"

namespace kelmar {

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kTwoPi = 2 * kPi;
inline constexpr double kDegToRad = kPi / 180;
inline constexpr double kRadToDeg = 180 / kPi;

// −1, 0 or 1 by the sign of x; 0 for either zero and for NaN.
inline double Sign(double x) { return x < 0 ? -1.0 : x > 0 ? 1.0 : 0.0; }

// x − trunc(x): keeps the sign of x.
double Frac(double x);
// atan2(x, √(1 − x²)).
double ArcSin(double x);

// SunRA, SunDec from DayNumber and Centuries1900.
void PosOfSun(CalcState& st);
// The same model for any moment: d days from 2000-01-01 12:00 UT, t1 centuries from 1900.
void SunRaDec(double d, double t1, double& ra, double& dec);
// The Sun's declination and Earth-fixed longitude (radians) at the moment ut (DaySerial in GMT),
// from the same model and the sun table's sidereal time, carried on through the day at its rate.
void SunEarthFixed(double ut, double& dec, double& lon);
// Time arguments and the Sun at the two local midnights of CurDate, seen from obs.
void PrepareDay(CalcState& st, const Observer& obs);

}  // namespace kelmar
