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

enum class StepEvent { None, Rise, Set };

// Step k of a pass against threshold thr; the caller has set AltFnStart for k > 0.
StepEvent PossibleEvents(CalcState& st, const DaySamples& ds, int k, double thr);

// The 48-step pass. on_rise / on_set run after a step that found an upward / downward crossing.
template <class OnRise, class OnSet>
void EventPass(CalcState& st, const DaySamples& ds, double thr, OnRise&& on_rise, OnSet&& on_set) {
  st.RiseCount = 0;
  st.SetCount = 0;
  for (int k = 0; k < 48; ++k) {
    switch (PossibleEvents(st, ds, k, thr)) {
      case StepEvent::Rise: on_rise(); break;
      case StepEvent::Set: on_set(); break;
      case StepEvent::None: break;
    }
    st.AltFnStart = st.AltFnEnd;  // the end sample of this step is the start sample of the next
  }
}

}  // namespace kelmar
