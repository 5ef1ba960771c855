#pragma once
// The search for threshold crossings in 48 half-hour steps of one local day.
#include <optional>

#include "observer.h"
#include "solar.h"

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
  double transit;        // the upper transit, local hours; 0 on a day without one (once TransitTime)
  bool all_exact;        // compute every sample exactly (a cross-check of the estimates)
};

// A sample whose estimate lies within this of a threshold is computed exactly.
inline constexpr double kSampleMargin = 1e-9;

// The samples of the day seen from obs, and its transit (the later one if two steps qualify).
// all_exact: take every sample from libm, as a cross-check.
void PrepareSamples(const LocalDay& day, const Observer& obs, DaySamples& ds, bool all_exact = false);

// cos H1 · (cos δ · cos φ) + sin δ · sin φ at the end of step k, computed once.
double ExactSample(DaySamples& ds, int k);

// Azimuth in degrees from north through east, in [0, 360], of hour angle h and a declination
// given by its cosine and sine.
double SunAzimuthDeg(double h, double cos_dec, double sin_dec, double sin_lat, double cos_lat);

// One crossing of a threshold: upward (a rise, a dawn) or downward. No member initializers: a
// pass's 48 places are filled as found, never cleared.
struct Crossing {
  double hours;      // local time, hours from the day's first midnight (once EventTime)
  double azimuth;    // degrees from north through east, where has_azimuth (once AzimuthText)
  bool has_azimuth;  // an azimuth has been solved in the run; only a pass that asks for one shows it
  bool rise;
};

// A crossing whose quadratic has no real root (rounding at a grazing step) reports the time and
// azimuth of the last one solved, as the tables always have; a run carries this from pass to
// pass and from day to day.
struct LastSolved {
  double hours = 0;
  std::optional<double> azimuth;  // from the last pass that asked for azimuths
};

// What one pass finds: the crossings in time order and what the tables decide from them.
struct Crossings {
  static constexpr int kMax = 48;  // a sign change needs a step of its own
  Crossing items[kMax];
  int count = 0;
  int rises = 0, sets = 0;   // the crossings solved of each kind (once RiseCount, SetCount)
  double length_sum = 0;     // sets minus rises, hours: the day length, less 24 if the day began up (once DayLenAcc)
  double last_sample = 0;    // altitude function at the closing midnight: its sign tells polar day from night (once AltFnEnd)

  const Crossing* begin() const { return items; }
  const Crossing* end() const { return items + count; }
};

// The 48-step pass against threshold thr: a step whose start sample is below zero and whose end
// sample is above is a rise, the reverse a set; a sample of exactly zero is neither. The
// twilight pass shows no azimuth, so it asks for none. Fills out in place: a copy of its 48
// places twice a day would cost the sun table a few per cent.
void EventPass(DaySamples& ds, double thr, bool with_azimuth, LastSolved& last, Crossings& out);

}  // namespace kelmar
