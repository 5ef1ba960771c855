#pragma once
// The search for threshold crossings in 48 half-hour steps of one local day.
#include "calc_state.h"

namespace kelmar {

// The hour angles and threshold-free altitude samples of one day. They depend on the day and
// the place only, so both passes of a day (rise/set and twilight) share them; a pass then
// subtracts its threshold last, exactly as the altitude function is written.
struct DaySamples {
  double h0[48];        // hour angle at the start of step k, folded
  double h1[48];        // hour angle at the end of step k, folded
  double dec[49];       // declination at the start of step k (dec[k]) and at its end (dec[k+1])
  double base_end[48];  // cos H1 · (cos δ · CosLat) + sin δ · SinLat at the end of step k
  double base_start0;   // the same at the start of step 0
};

// Fills RaSpan, DecSpan and the samples from the day's positions (after PrepareDay).
void PrepareSamples(CalcState& st, DaySamples& ds);

// Step k of a pass against threshold thr; for k > 0 the driver has carried the previous end
// sample into AltFnStart, so steps run only from EventPass, in increasing order.
void PossibleEvents(CalcState& st, const DaySamples& ds, int k, double thr);

// The 48-step pass. After every step the driver itself tells a rise (start sample below zero,
// end sample above) from a set (the reverse) and runs on_rise / on_set; a sample of exactly
// zero is neither.
template <class OnRise, class OnSet>
void EventPass(CalcState& st, const DaySamples& ds, double thr, OnRise&& on_rise, OnSet&& on_set) {
  st.RiseCount = 0;
  st.SetCount = 0;
  for (int k = 0; k < 48; ++k) {
    PossibleEvents(st, ds, k, thr);
    if (st.AltFnStart < 0 && st.AltFnEnd > 0) on_rise();
    if (st.AltFnStart > 0 && st.AltFnEnd < 0) on_set();
    st.AltFnStart = st.AltFnEnd;  // the end sample of this step is the start sample of the next
  }
}

}  // namespace kelmar
