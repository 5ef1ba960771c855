#pragma once
// The search for threshold crossings in 48 half-hour steps of one local day.
#include "calc_state.h"
#include "observer.h"

namespace kelmar {

// The hour angles and threshold-free altitude samples of one day, shared by both passes of the
// day (rise/set and twilight); a pass subtracts its threshold last, exactly as the altitude
// function is written, so base − thr is the same double in either pass.
//
// A sample is needed exactly only where it decides something: a step whose end samples differ
// in sign (the quadratic takes their values) or a sample so close to a threshold that its sign
// is in doubt. Everywhere else its sign is all that matters, and that is read from a cheap
// estimate (angle-addition steps from exact starting values, good to about 1e-13) that stays
// far from the threshold. So the exact cosines are taken only for the few samples near a
// crossing, and every value that reaches a cell is the exact one.
struct DaySamples {
  double h0[48];         // hour angle at the start of step k, folded
  double h1[48];         // hour angle at the end of step k, folded
  double dec[49];        // declination at the start of step k (dec[k]) and at its end (dec[k + 1])
  double estimate[48];   // the estimate of the end sample of step k
  double exact[48];      // the end sample of step k, NaN until computed
  double base_start0;    // the exact sample at the start of step 0
  double sin_lat, cos_lat;
  bool all_exact;        // compute every sample exactly (a cross-check of the estimates)
};

// A sample whose estimate lies within this of a threshold is computed exactly.
inline constexpr double kSampleMargin = 1e-9;

// From the day's two positions (after PrepareDay) seen from obs: the samples, and TransitTime
// where the day has an upper transit (the later one if two steps qualify; the value is left
// alone otherwise). all_exact: take every sample from libm, as a cross-check.
void PrepareSamples(CalcState& st, const Observer& obs, DaySamples& ds, bool all_exact = false);

// cos H1 · (cos δ · cos φ) + sin δ · sin φ at the end of step k, computed once.
double ExactSample(DaySamples& ds, int k);

// Azimuth in degrees from north through east, in [0, 360], of hour angle h and a declination
// given by its cosine and sine.
double SunAzimuthDeg(double h, double cos_dec, double sin_dec, double sin_lat, double cos_lat);

// The crossing inside step k, whose end samples differ in sign: the quadratic through the
// exact samples, EventTime, DayLenAcc, RiseCount/SetCount and, when with_azimuth, AzimuthText.
void SolveCrossing(CalcState& st, DaySamples& ds, int k, double thr, bool with_azimuth);

// Step k of a pass against threshold thr. For k > 0 the driver has carried the previous end
// sample into AltFnStart, so steps run only from EventPass, in increasing order.
inline void PossibleEvents(CalcState& st, DaySamples& ds, int k, double thr, bool with_azimuth) {
  const double estimate = ds.estimate[k] - thr;
  const bool in_doubt = ds.all_exact || !(estimate > kSampleMargin || estimate < -kSampleMargin);
  st.AltFnEnd = in_doubt ? ExactSample(ds, k) - thr : estimate;
  const bool same_sign = (st.AltFnStart < 0) == (st.AltFnEnd < 0) && (st.AltFnStart > 0) == (st.AltFnEnd > 0);
  if (!same_sign) SolveCrossing(st, ds, k, thr, with_azimuth);
}

// The 48-step pass. After every step the driver itself tells a rise (start sample below zero,
// end sample above) from a set (the reverse) and runs on_rise / on_set; a sample of exactly
// zero is neither. The twilight pass writes no azimuth, so it asks for none.
template <class OnRise, class OnSet>
void EventPass(CalcState& st, DaySamples& ds, double thr, bool with_azimuth, OnRise&& on_rise, OnSet&& on_set) {
  st.RiseCount = 0;
  st.SetCount = 0;
  st.AltFnStart = ds.base_start0 - thr;
  for (int k = 0; k < 48; ++k) {
    PossibleEvents(st, ds, k, thr, with_azimuth);
    if (st.AltFnStart < 0 && st.AltFnEnd > 0) on_rise();
    if (st.AltFnStart > 0 && st.AltFnEnd < 0) on_set();
    st.AltFnStart = st.AltFnEnd;  // the end sample of this step is the start sample of the next
  }
}

}  // namespace kelmar
