#include "event_search.h"

#include <cmath>
#include <cstdio>

#include "solar.h"

namespace kelmar {
namespace {

// Radians the Earth turns against the stars in half an hour of mean solar time.
constexpr double kHalfHourTurn = 0.13125808538402622;

double Sign(double x) { return x < 0 ? -1.0 : x > 0 ? 1.0 : 0.0; }

}  // namespace

void PrepareSamples(CalcState& st, DaySamples& ds) {
  st.RaSpan = st.RaEnd - st.RaStart;
  st.DecSpan = st.DecEnd - st.DecStart;
  st.RaPrev = st.RaStart;
  st.DecPrev = st.DecStart;
  ds.dec[0] = st.DecStart;
  for (int k = 0; k < 48; ++k) {
    st.StepFrac = (k + 1) / 48.0;
    // Interpolated from the day's start each time, so the last step ends exactly at the end position.
    st.RaNext = st.StepFrac * st.RaSpan + st.RaStart;
    st.DecNext = st.StepFrac * st.DecSpan + st.DecStart;
    const double s = k * kHalfHourTurn + st.LstMidnight;
    double h0 = s - st.RaPrev;
    double h1 = (kHalfHourTurn + s) - st.RaNext;
    // Fold so that H0 ≤ π and H1 ≥ −π; a step may straddle ±π.
    while (h0 > kPi) h0 -= kTwoPi, h1 -= kTwoPi;
    while (h1 < -kPi) h0 += kTwoPi, h1 += kTwoPi;
    ds.h0[k] = h0;
    ds.h1[k] = h1;
    ds.dec[k + 1] = st.DecNext;
    ds.base_end[k] = std::cos(h1) * (std::cos(st.DecNext) * st.CosLat) + std::sin(st.DecNext) * st.SinLat;
    if (k == 0)
      ds.base_start0 = std::cos(h0) * (std::cos(st.DecPrev) * st.CosLat) + std::sin(st.DecPrev) * st.SinLat;
    st.RaPrev = st.RaNext;
    st.DecPrev = st.DecNext;
  }
}

void PossibleEvents(CalcState& st, const DaySamples& ds, int k, double thr) {
  const double h0 = ds.h0[k];
  const double h1 = ds.h1[k];
  // Upper transit: the hour angle passes zero upward; a passage through ±π is the lower culmination.
  if (h0 < 0 && h1 > 0) st.TransitTime = (k - h0 / (h1 - h0)) / 2;
  if (k == 0) st.AltFnStart = ds.base_start0 - thr;
  st.AltFnEnd = ds.base_end[k] - thr;
  if (Sign(st.AltFnStart) == Sign(st.AltFnEnd)) return;

  const double hm = (h1 + h0) / 2;
  const double dm = (ds.dec[k + 1] + ds.dec[k]) / 2;
  const double cos_dm = std::cos(dm);
  const double sin_dm = std::sin(dm);
  const double v0 = st.AltFnStart;
  const double v1 = std::cos(hm) * (cos_dm * st.CosLat) + sin_dm * st.SinLat - thr;
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
    if (!std::isfinite(x)) x = v0 / (v0 - v2);  // a degenerate parabola: take the chord's zero
  }
  st.EventTime = (k + x) / 2;
  // A set adds its time, a rise subtracts it.
  st.DayLenAcc = Sign(v0) * st.EventTime + st.DayLenAcc;
  if (v0 < 0 && v2 > 0) st.RiseCount += 1;
  if (v0 > 0 && v2 < 0) st.SetCount += 1;

  // Azimuth at the crossing, from north through east.
  const double he = (h1 - h0) * x + h0;
  const double n = -cos_dm * std::sin(he);
  const double m = sin_dm * st.CosLat - cos_dm * st.SinLat * std::cos(he);
  double az;
  if (m != 0) {
    az = std::atan(n / m) / kDegToRad;
    if (m < 0) az = az + 180;
  } else {
    az = std::atan2(n, m) / kDegToRad;
  }
  if (az < 0) az = az + 360;
  az += 0.0;  // no "-0.0"
  std::snprintf(st.AzimuthText, sizeof st.AzimuthText, "%4.1f", az);
}

}  // namespace kelmar
