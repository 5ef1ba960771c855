#pragma once
// The low-precision solar position model and the day's time arguments.
#include "angles.h"
#include "observer.h"

namespace kelmar {

// x − trunc(x): keeps the sign of x.
double Frac(double x);
// atan2(x, √(1 − x²)).
double ArcSin(double x);

// The Sun's right ascension and declination (radians) for any moment: d days from 2000-01-01
// 12:00 UT, t1 centuries from 1900.
void SunRaDec(double d, double t1, double& ra, double& dec);
// The Sun's declination and Earth-fixed longitude (radians) at the moment ut (DaySerial in GMT),
// from the same model and the sun table's sidereal time, carried on through the day at its rate.
void SunEarthFixed(double ut, double& dec, double& lon);

// One local day's time arguments and the Sun at both of its midnights. (Once CalcState's
// LstMidnight, RaStart, DecStart, RaEnd and DecEnd.)
struct LocalDay {
  double lst_midnight = 0;             // local sidereal time at the first midnight, radians
  double ra_start = 0, dec_start = 0;  // the Sun at the first midnight, radians
  double ra_end = 0, dec_end = 0;      // at the next one; ra_end is carried past ra_start over a whole turn
};

// The local day that begins at day_serial (a DaySerial, midnight of the zone) in a zone
// zone_hours east of GMT, seen from obs. Throws CalcError(kFloatOverflow) for an absurd zone.
LocalDay PrepareDay(double day_serial, double zone_hours, const Observer& obs);

// cos 90.833°, the sine of the altitude at which the Sun's upper limb touches the horizon
// (refraction included), taken once from the run-time libm. (Once CalcState::RiseAltSin.)
double RiseAltSin();

}  // namespace kelmar
