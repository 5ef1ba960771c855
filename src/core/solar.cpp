#include "solar.h"

#include <cmath>

#include "calc_error.h"

namespace kelmar {

double Frac(double x) { return x - std::trunc(x); }

double ArcSin(double x) { return std::atan2(x, std::sqrt(1 - x * x)); }

void PosOfSun(CalcState& st) { SunRaDec(st.DayNumber, st.Centuries1900, st.SunRA, st.SunDec); }

void SunRaDec(double d, double t1, double& ra, double& dec) {
  const double l = Frac(0.779072 + 0.00273790931 * d) * kTwoPi;  // mean longitude
  const double g = Frac(0.993126 + 0.0027377785 * d) * kTwoPi;   // mean anomaly
  const double sin_l = std::sin(l);
  const double sin_g = std::sin(g);
  const double v = 0.39785 * sin_l - 0.01 * std::sin(l - g) + 0.00333 * std::sin(l + g) - sin_l * (0.00021 * t1);
  const double u = 1 - 0.03349 * std::cos(g) - 0.00014 * std::cos(2 * l) + 0.00008 * std::cos(l);
  const double w = -0.0001 - 0.04129 * std::sin(2 * l) + 0.03211 * sin_g + 0.00104 * std::sin(2 * l - g) -
                   0.00035 * std::sin(2 * l + g) - sin_g * (0.00008 * t1);
  ra = l + ArcSin(w / std::sqrt(u - v * v));
  dec = ArcSin(v / std::sqrt(u));
}

void SunEarthFixed(double ut, double& dec, double& lon) {
  const double d = ut - 36526.5;
  const double t = d / 36525;
  double ra;
  SunRaDec(d, t + 1, ra, dec);
  const double gmst = kTwoPi * Frac((8640184.813 * t + 24110.5) / 86400 + (ut - std::floor(ut)));
  lon = ra - gmst;
}

void PrepareDay(CalcState& st, const Observer& obs) {
  st.ZoneShift = -st.ZoneHours / 24;
  st.DayNumber = st.CurDate - 36526.5;
  const double t = st.DayNumber / 36525;
  st.Centuries1900 = t + 1;
  // Greenwich mean sidereal time at 00:00 UT, seconds, carried to local midnight.
  double s = 8640184.813 * t + 24110.5;
  s = 86636.6 * st.ZoneShift + s;
  if (std::isinf(s)) throw CalcError(kFloatOverflow);  // an absurd zone offset
  s = s / 86400 + obs.LonTurns;
  s = Frac(s);
  st.LstMidnight = s * kTwoPi;
  st.DayNumber = st.DayNumber + st.ZoneShift;
  PosOfSun(st);
  st.RaStart = st.SunRA;
  st.DecStart = st.SunDec;
  st.DayNumber = st.DayNumber + 1;
  PosOfSun(st);
  st.RaEnd = st.SunRA;
  st.DecEnd = st.SunDec;
  // The mean longitude passed a whole turn during the day.
  if (st.RaEnd < st.RaStart) st.RaEnd = st.RaEnd + kTwoPi;
}

}  // namespace kelmar
