#include "event_search.h"

#include <cmath>
#include <limits>

#include "angles.h"
#include "trig.h"

namespace kelmar {
namespace {

// Radians the Earth turns against the stars in half an hour of mean solar time.
constexpr double kHalfHourTurn = 0.13125808538402622;

}  // namespace

double SunAzimuthDeg(double h, double cos_dec, double sin_dec, double sin_lat, double cos_lat) {
  const double n = -cos_dec * trig::sin(h);
  const double m = sin_dec * cos_lat - cos_dec * sin_lat * trig::cos(h);
  double az;
  if (m != 0) {
    az = trig::atan(n / m) / kDegToRad;
    if (m < 0) az = az + 180;
  } else {
    az = trig::atan2(n, m) / kDegToRad;
  }
  if (az < 0) az = az + 360;
  return az + 0.0;  // no "-0.0"
}

namespace {

// The crossing inside step k, whose end samples differ in sign: the quadratic through the exact
// samples, which replace the estimates in start and end.
void SolveCrossing(DaySamples& ds, int k, double thr, bool with_azimuth, double& start, double& end,
                   Crossings& out, LastSolved& last) {
  // The quadratic takes the exact samples at both ends of the step; their signs are those the
  // estimates gave, which stood clear of the threshold.
  start = (k == 0 ? ds.base_start0 : ExactSample(ds, k - 1)) - thr;
  end = ExactSample(ds, k) - thr;
  const double h0 = ds.h0[k];
  const double h1 = ds.h1[k];
  const double hm = (h1 + h0) / 2;
  const double dm = (ds.dec[k + 1] + ds.dec[k]) / 2;
  const double cos_dm = trig::cos(dm);
  const double sin_dm = trig::sin(dm);
  const double v0 = start;
  const double v1 = trig::cos(hm) * (cos_dm * ds.cos_lat) + sin_dm * ds.sin_lat - thr;
  const double v2 = end;

  // Quadratic through (0, V0), (½, V1), (1, V2) in the step fraction.
  const double a = 2 * v2 - 4 * v1 + 2 * v0;
  const double b = 4 * v1 - 3 * v0 - v2;
  double x;
  if (a == 0) {
    x = b != 0 ? -v0 / b : 0;  // three collinear samples
  } else {
    const double d = b * b - 4 * a * v0;
    if (d < 0) return;
    const double r = std::sqrt(d);
    x = (-b + r) / (2 * a);
    if (x > 1 || !(x >= 0)) x = (-b - r) / (2 * a);
    if (!std::isfinite(x)) x = v0 / (v0 - v2);  // a degenerate parabola: the chord's zero
  }
  last.hours = (k + x) / 2;
  // A set adds its time, a rise subtracts it.
  out.length_sum = Sign(v0) * last.hours + out.length_sum;
  if (v0 < 0 && v2 > 0) out.rises += 1;
  if (v0 > 0 && v2 < 0) out.sets += 1;
  if (with_azimuth) last.azimuth = SunAzimuthDeg((h1 - h0) * x + h0, cos_dm, sin_dm, ds.sin_lat, ds.cos_lat);
}

}  // namespace

void EventPass(DaySamples& ds, double thr, bool with_azimuth, LastSolved& last, Crossings& out) {
  out.count = 0;
  out.rises = 0;
  out.sets = 0;
  out.length_sum = 0;
  double start = ds.base_start0 - thr;
  double end = start;
  for (int k = 0; k < 48; ++k) {
    const double estimate = ds.estimate[k] - thr;
    const bool in_doubt = ds.all_exact || !(estimate > kSampleMargin || estimate < -kSampleMargin);
    end = in_doubt ? ExactSample(ds, k) - thr : estimate;
    const bool same_sign = (start < 0) == (end < 0) && (start > 0) == (end > 0);
    if (!same_sign) SolveCrossing(ds, k, thr, with_azimuth, start, end, out, last);
    if ((start < 0 && end > 0) || (start > 0 && end < 0))
      out.items[out.count++] = {last.hours, last.azimuth.value_or(0), last.azimuth.has_value(), start < 0};
    start = end;  // the end sample of this step is the start sample of the next
  }
  out.last_sample = end;
}

void PrepareSamples(const LocalDay& day, const Observer& obs, DaySamples& ds, bool all_exact) {
  const double ra_start = day.ra_start, dec_start = day.dec_start;
  const double ra_span = day.ra_end - day.ra_start, dec_span = day.dec_end - day.dec_start;
  const double lst = day.lst_midnight;
  ds.sin_lat = obs.SinLat;
  ds.cos_lat = obs.CosLat;
  ds.all_exact = all_exact;
  ds.transit = 0;
  double ra_prev = ra_start;
  ds.dec[0] = dec_start;
  for (int k = 0; k < 48; ++k) {
    const double step_frac = (k + 1) / 48.0;
    // Interpolated from the day's start each time, so the last step ends exactly at the end position.
    const double ra_next = step_frac * ra_span + ra_start;
    const double s = k * kHalfHourTurn + lst;
    double h0 = s - ra_prev;
    double h1 = (kHalfHourTurn + s) - ra_next;
    // Fold so that H0 ≤ π and H1 ≥ −π; a step may straddle ±π.
    while (h0 > kPi) h0 -= kTwoPi, h1 -= kTwoPi;
    while (h1 < -kPi) h0 += kTwoPi, h1 += kTwoPi;
    // Upper transit: the hour angle passes zero upward; a passage through ±π is the lower culmination.
    if (h0 < 0 && h1 > 0) ds.transit = (k - h0 / (h1 - h0)) / 2;
    ds.h0[k] = h0;
    ds.h1[k] = h1;
    ds.dec[k + 1] = step_frac * dec_span + dec_start;
    ds.exact[k] = std::numeric_limits<double>::quiet_NaN();
    ra_prev = ra_next;
  }
  ds.base_start0 = trig::cos(ds.h0[0]) * (trig::cos(dec_start) * ds.cos_lat) + trig::sin(dec_start) * ds.sin_lat;

  // Estimates: H1 and δ advance by the same angle every step (whole turns of the fold do not
  // change a cosine), so their cosines and sines follow by rotation from exact starting values.
  const double dh = ds.h1[1] - ds.h1[0] - std::round((ds.h1[1] - ds.h1[0]) / kTwoPi) * kTwoPi;
  const double dd = ds.dec[2] - ds.dec[1];
  double ch = trig::cos(ds.h1[0]), sh = trig::sin(ds.h1[0]);
  double cd = trig::cos(ds.dec[1]), sd = trig::sin(ds.dec[1]);
  const double cdh = trig::cos(dh), sdh = trig::sin(dh);
  const double cdd = trig::cos(dd), sdd = trig::sin(dd);
  for (int k = 0; k < 48; ++k) {
    ds.estimate[k] = ch * (cd * ds.cos_lat) + sd * ds.sin_lat;
    const double ch2 = ch * cdh - sh * sdh, sh2 = sh * cdh + ch * sdh;
    const double cd2 = cd * cdd - sd * sdd, sd2 = sd * cdd + cd * sdd;
    ch = ch2, sh = sh2, cd = cd2, sd = sd2;
  }
}

double ExactSample(DaySamples& ds, int k) {
  if (std::isnan(ds.exact[k])) {
    const double dec = ds.dec[k + 1];
    ds.exact[k] = trig::cos(ds.h1[k]) * (trig::cos(dec) * ds.cos_lat) + trig::sin(dec) * ds.sin_lat;
  }
  return ds.exact[k];
}

}  // namespace kelmar
