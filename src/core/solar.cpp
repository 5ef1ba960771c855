#include "solar.h"

#include <cmath>

#include "calc_error.h"
#include "trig.h"

namespace kelmar {

double Frac(double x) { return x - std::trunc(x); }

double ArcSin(double x) { return trig::atan2(x, std::sqrt(1 - x * x)); }

void SunRaDec(double d, double t1, double& ra, double& dec) {
  const double l = Frac(0.779072 + 0.00273790931 * d) * kTwoPi;  // mean longitude
  const double g = Frac(0.993126 + 0.0027377785 * d) * kTwoPi;   // mean anomaly
  const double sin_l = trig::sin(l);
  const double sin_g = trig::sin(g);
  const double v = 0.39785 * sin_l - 0.01 * trig::sin(l - g) + 0.00333 * trig::sin(l + g) - sin_l * (0.00021 * t1);
  const double u = 1 - 0.03349 * trig::cos(g) - 0.00014 * trig::cos(2 * l) + 0.00008 * trig::cos(l);
  const double w = -0.0001 - 0.04129 * trig::sin(2 * l) + 0.03211 * sin_g + 0.00104 * trig::sin(2 * l - g) -
                   0.00035 * trig::sin(2 * l + g) - sin_g * (0.00008 * t1);
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

LocalDay PrepareDay(double day_serial, double zone_hours, const Observer& obs) {
  const double zone_shift = -zone_hours / 24;
  double day_number = day_serial - 36526.5;
  const double t = day_number / 36525;
  const double centuries_1900 = t + 1;
  // Greenwich mean sidereal time at 00:00 UT, seconds, carried to local midnight.
  double s = 8640184.813 * t + 24110.5;
  s = 86636.6 * zone_shift + s;
  if (std::isinf(s)) throw CalcError(kFloatOverflow);  // an absurd zone offset
  s = s / 86400 + obs.LonTurns;
  s = Frac(s);
  LocalDay day;
  day.lst_midnight = s * kTwoPi;
  day_number = day_number + zone_shift;
  SunRaDec(day_number, centuries_1900, day.ra_start, day.dec_start);
  day_number = day_number + 1;
  SunRaDec(day_number, centuries_1900, day.ra_end, day.dec_end);
  // The mean longitude passed a whole turn during the day.
  if (day.ra_end < day.ra_start) day.ra_end = day.ra_end + kTwoPi;
  return day;
}

double RiseAltSin() {
  // volatile keeps the compiler from folding the cosine with its own library: the tables are
  // made with the run-time libm's last bit.
  static const double value = [] {
    volatile double angle = 90.833 * kDegToRad;
    return trig::cos(angle);
  }();
  return value;
}

}  // namespace kelmar
