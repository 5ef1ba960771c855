#include "sun_table.h"

#include <cmath>

#include "angles.h"
#include "calc_error.h"
#include "day_serial.h"
#include "locator.h"
#include "number_text.h"
#include "solar.h"
#include "table_text.h"
#include "trig.h"

namespace kelmar {
namespace {

PolarState PolarOf(const Crossings& pass) {
  if (pass.rises != 0 || pass.sets != 0) return PolarState::None;
  return pass.last_sample < 0 ? PolarState::Night : pass.last_sample > 0 ? PolarState::Day : PolarState::None;
}

}  // namespace

double ZoneHoursOf(const InputFields& in) {
  return in.FromMoscow() ? StrToFloat(in.msk_offset) + 4 : StrToFloat(in.gmt_offset);
}

// The sine of the altitude at which twilight begins or ends.
double TwilightThreshold(const InputFields& in) {
  if (in.ByAngle()) return -trig::sin(StrToFloat(in.twilight_angle) * kDegToRad);
  const double h = StrToFloat(in.twilight_height);
  const double under_root = (12742 + h) * h;
  if (std::isinf(under_root)) throw CalcError(kFloatOverflow);
  if (under_root < 0) throw CalcError(kInvalidFloatOp);
  // Dip of the horizon seen from h km above a sphere of 6371 km, plus 0.833° as for sunrise.
  const double dip = trig::atan(std::sqrt(under_root) / 6371);
  return -trig::sin(0.833 * kDegToRad + dip);
}

SunDayRow::SunDayRow() = default;

void ComputeSunMonth(const InputFields& in, int year, int month, SunMonth& out, bool exact_samples) {
  out.year = year;
  out.month = month;
  out.days.clear();
  const Observer obs = ObserverFromFields(in);
  out.locator = LocatorFromCoords(obs.LatDeg, obs.LonDeg);
  // The fields cannot change while the table is computed: read once, where a bad text stops the
  // run on day 1.
  const double zone_hours = ZoneHoursOf(in);
  const double rise_thr = RiseAltSin();
  double twilight_thr = 0;
  const int days = DaysInMonth(year, month);
  out.days.reserve(static_cast<std::size_t>(days));
  DaySamples samples;
  LastSolved last;
  for (int r = 1; r <= days; ++r) {
    const double date = EncodeDate(year, month, r);
    SunDayRow& row = out.days.emplace_back();
    row.day = r;
    row.weekday = WeekdayMondayFirst(date);

    PrepareSamples(PrepareDay(date, zone_hours, obs), obs, samples, exact_samples);
    EventPass(samples, rise_thr, true, last, row.sun);
    row.noon = samples.transit;
    row.sun_polar = PolarOf(row.sun);
    // Sets minus rises; a day that begins with the Sun up has a negative sum.
    if (row.sun.length_sum != 0) row.day_length = row.sun.length_sum < 0 ? row.sun.length_sum + 24 : row.sun.length_sum;
    row.sun_done = true;

    if (r == 1) twilight_thr = TwilightThreshold(in);
    EventPass(samples, twilight_thr, false, last, row.twilight);
    row.twilight_polar = PolarOf(row.twilight);
    row.twilight_done = true;
  }
}

void Calc(CalcState& st, const InputFields& in, TextGrid& grid) {
  SunMonth month;
  // Also after a failure: the rows done before it show, and the locator of a converted place.
  struct Show {
    CalcState& st;
    const SunMonth& month;
    bool seconds;
    TextGrid& grid;
    ~Show() {
      if (!month.locator.empty()) st.Locator = month.locator;
      FormatSunTable(month, seconds, st.Names, grid);
    }
  } show{st, month, in.seconds, grid};
  ComputeSunMonth(in, st.Year, st.Month, month, st.ExactSamples);
}

}  // namespace kelmar
