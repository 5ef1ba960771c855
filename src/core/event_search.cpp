#include "event_search.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "number_text.h"
#include "solar.h"

namespace kelmar {
namespace {

// Radians the Earth turns against the stars in half an hour of mean solar time.
constexpr double kHalfHourTurn = 0.13125808538402622;

}  // namespace

double SunAzimuthDeg(double h, double cos_dec, double sin_dec, double sin_lat, double cos_lat) {
  const double n = -cos_dec * std::sin(h);
  const double m = sin_dec * cos_lat - cos_dec * sin_lat * std::cos(h);
  double az;
  if (m != 0) {
    az = std::atan(n / m) / kDegToRad;
    if (m < 0) az = az + 180;
  } else {
    az = std::atan2(n, m) / kDegToRad;
  }
  if (az < 0) az = az + 360;
  return az + 0.0;  // no "-0.0"
}

void SolveCrossing(CalcState& st, DaySamples& ds, int k, double thr, bool with_azimuth) {
  // The quadratic takes the exact samples at both ends of the step; their signs are those the
  // estimates gave, which stood clear of the threshold.
  st.AltFnStart = (k == 0 ? ds.base_start0 : ExactSample(ds, k - 1)) - thr;
  st.AltFnEnd = ExactSample(ds, k) - thr;
  const double h0 = ds.h0[k];
  const double h1 = ds.h1[k];
  const double hm = (h1 + h0) / 2;
  const double dm = (ds.dec[k + 1] + ds.dec[k]) / 2;
  const double cos_dm = std::cos(dm);
  const double sin_dm = std::sin(dm);
  const double v0 = st.AltFnStart;
  const double v1 = std::cos(hm) * (cos_dm * ds.cos_lat) + sin_dm * ds.sin_lat - thr;
  const double v2 = st.AltFnEnd;

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
  st.EventTime = (k + x) / 2;
  // A set adds its time, a rise subtracts it.
  st.DayLenAcc = Sign(v0) * st.EventTime + st.DayLenAcc;
  if (v0 < 0 && v2 > 0) st.RiseCount += 1;
  if (v0 > 0 && v2 < 0) st.SetCount += 1;
  if (!with_azimuth) return;

  const double az = SunAzimuthDeg((h1 - h0) * x + h0, cos_dm, sin_dm, ds.sin_lat, ds.cos_lat);
  // One decimal, right-aligned in at least four characters: " 7.1", "43.3", "316.7".
  const std::string text = FormatOneDecimal(az);
  const std::size_t pad = text.size() < 4 ? 4 - text.size() : 0;
  std::fill_n(st.AzimuthText, pad, ' ');
  std::copy_n(text.data(), text.size(), st.AzimuthText + pad);
  st.AzimuthText[pad + text.size()] = '\0';
}

void PrepareSamples(CalcState& st, const Observer& obs, DaySamples& ds, bool all_exact) {
  const double ra_start = st.RaStart, dec_start = st.DecStart;
  const double ra_span = st.RaEnd - st.RaStart, dec_span = st.DecEnd - st.DecStart;
  const double lst = st.LstMidnight;
  ds.sin_lat = obs.SinLat;
  ds.cos_lat = obs.CosLat;
  ds.all_exact = all_exact;
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
    if (h0 < 0 && h1 > 0) st.TransitTime = (k - h0 / (h1 - h0)) / 2;
    ds.h0[k] = h0;
    ds.h1[k] = h1;
    ds.dec[k + 1] = step_frac * dec_span + dec_start;
    ds.exact[k] = std::numeric_limits<double>::quiet_NaN();
    ra_prev = ra_next;
  }
  ds.base_start0 = std::cos(ds.h0[0]) * (std::cos(dec_start) * ds.cos_lat) + std::sin(dec_start) * ds.sin_lat;

  // Estimates: H1 and δ advance by the same angle every step (whole turns of the fold do not
  // change a cosine), so their cosines and sines follow by rotation from exact starting values.
  const double dh = ds.h1[1] - ds.h1[0] - std::round((ds.h1[1] - ds.h1[0]) / kTwoPi) * kTwoPi;
  const double dd = ds.dec[2] - ds.dec[1];
  double ch = std::cos(ds.h1[0]), sh = std::sin(ds.h1[0]);
  double cd = std::cos(ds.dec[1]), sd = std::sin(ds.dec[1]);
  const double cdh = std::cos(dh), sdh = std::sin(dh);
  const double cdd = std::cos(dd), sdd = std::sin(dd);
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
    ds.exact[k] = std::cos(ds.h1[k]) * (std::cos(dec) * ds.cos_lat) + std::sin(dec) * ds.sin_lat;
  }
  return ds.exact[k];
}

}  // namespace kelmar
