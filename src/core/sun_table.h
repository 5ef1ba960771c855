#pragma once
// The month's sun table: typed rows per day, and the table StringGridVos made from them.
#include <optional>
#include <string>
#include <vector>

#include "calc_state.h"
#include "event_search.h"
#include "input_fields.h"
#include "text_grid.h"

namespace kelmar {

// The zone's offset from GMT in hours: msk_offset + 4 or gmt_offset, as the zone kind chooses.
double ZoneHoursOf(const InputFields& in);
// The sine of the altitude at which twilight begins or ends, by angle or by height.
double TwilightThreshold(const InputFields& in);

// A day on which a threshold is never crossed: the Sun stays below it (night) or above it (day).
// None on a day with a crossing, and on one whose closing sample is exactly the threshold.
enum class PolarState { None, Night, Day };

// One day of the sun table. All times are local hours from the day's first midnight.
struct SunDayRow {
  // Leaves the crossings' places past their counts unwritten: zeroing two runs of 48 for every
  // day cost the sun table a few per cent.
  SunDayRow();

  int day = 0;       // of the month
  int weekday = 0;   // 0 = Monday … 6 = Sunday
  Crossings sun;     // the upper limb at the horizon: rises and sets with their azimuths
  double noon = 0;   // the upper transit; 0 on a day without one
  std::optional<double> day_length;  // hours of daylight, where the day has a rise or a set
  PolarState sun_polar = PolarState::None;
  Crossings twilight;  // the twilight threshold: dawns (rise) and dusks
  PolarState twilight_polar = PolarState::None;
  // A run that failed on this day left the rest of it undone.
  bool sun_done = false, twilight_done = false;
};

struct SunMonth {
  int year = 2000, month = 1;
  std::string locator;  // of the place; empty until its coordinates converted
  std::vector<SunDayRow> days;
};

// The sun table's rows for year/month from the fields: the observer from the latitude and longitude,
// then the zone and the twilight fields. Throws CalcError; the rows done before the failure stay
// in out, as the table shows them. exact_samples: every altitude sample from libm (a cross-check).
void ComputeSunMonth(const InputFields& in, int year, int month, SunMonth& out, bool exact_samples = false);

// Both steps for st.Year / st.Month, st.Locator updated once the place converted. Throws
// CalcError; the cells written before the failure stay.
void Calc(CalcState& st, const InputFields& in, TextGrid& StringGridVos);

}  // namespace kelmar
