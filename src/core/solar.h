#pragma once
// The low-precision solar position model and the day's time arguments.
#include "calc_state.h"

namespace kelmar {

inline constexpr double kTwoPi = 6.283185307179586;
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kDegToRad = 0.017453292519943295;

// x − trunc(x): keeps the sign of x.
double Frac(double x);
// atan2(x, √(1 − x²)).
double ArcSin(double x);

// SunRA, SunDec from DayNumber and Centuries1900.
void PosOfSun(CalcState& st);
// The same model for any moment: d days from 2000-01-01 12:00 UT, t1 centuries from 1900.
void SunRaDec(double d, double t1, double& ra, double& dec);
// Time arguments and the Sun at the two local midnights of CurDate.
void PrepareDay(CalcState& st);

}  // namespace kelmar
