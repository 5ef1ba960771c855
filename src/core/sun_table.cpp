#include "sun_table.h"

#include <algorithm>
#include <cmath>

#include "calc_error.h"
#include "day_serial.h"
#include "locator.h"
#include "number_text.h"
#include "angles.h"
#include "solar.h"

namespace kelmar {
namespace {

// "hh:nn" or "hh:nn:ss" of a fraction of a day, rounded to whole milliseconds, the remainder dropped.
int FormatTimeOfDay(double day_fraction, bool seconds, char* out) {
  long long ms = std::llround(day_fraction * 86400000.0);
  if (ms < 0) ms = 0;
  const int h = static_cast<int>(ms / 3600000 % 100);
  const int n = static_cast<int>(ms / 60000 % 60);
  const int s = static_cast<int>(ms / 1000 % 60);
  out[0] = static_cast<char>('0' + h / 10);
  out[1] = static_cast<char>('0' + h % 10);
  out[2] = ':';
  out[3] = static_cast<char>('0' + n / 10);
  out[4] = static_cast<char>('0' + n % 10);
  if (!seconds) return 5;
  out[5] = ':';
  out[6] = static_cast<char>('0' + s / 10);
  out[7] = static_cast<char>('0' + s % 10);
  return 8;
}

// One decimal, right-aligned in at least four characters: " 7.1", "43.3", "316.7".
void AppendAzimuth(std::string& cell, const Crossing& c) {
  cell += ' ';
  if (!c.has_azimuth) return;
  char buf[kOneDecimalMax];
  const std::size_t len = FormatOneDecimal(c.azimuth, buf);
  if (len < 4) cell.append(4 - len, ' ');
  cell.append(buf, len);
}

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
  if (in.ByAngle()) return -std::sin(StrToFloat(in.twilight_angle) * kDegToRad);
  const double h = StrToFloat(in.twilight_height);
  const double under_root = (12742 + h) * h;
  if (std::isinf(under_root)) throw CalcError(kFloatOverflow);
  if (under_root < 0) throw CalcError(kInvalidFloatOp);
  // Dip of the horizon seen from h km above a sphere of 6371 km, plus 0.833° as for sunrise.
  const double dip = std::atan(std::sqrt(under_root) / 6371);
  return -std::sin(0.833 * kDegToRad + dip);
}

void TtoCell(TextGrid& grid, bool seconds, int col, int row, double hours) {
  std::string& cell = grid.Cell(col, row);
  char buf[8];
  int len;
  if (seconds) {
    if (hours < 23.9998) {
      len = FormatTimeOfDay((hours + 0.5 / 3600) / 24, true, buf);
    } else {
      len = 8;
      std::copy_n("24:00:00", 8, buf);
    }
  } else if (hours < 23.99) {
    len = FormatTimeOfDay((hours + 0.5 / 60) / 24, false, buf);
  } else {
    len = 5;
    std::copy_n("24:00", 5, buf);
  }
  // old + " " + time, less a leading blank: an empty cell gets the time alone.
  cell += ' ';
  cell.append(buf, static_cast<std::size_t>(len));
  if (cell.front() == ' ') cell.erase(0, 1);
}

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
    row.sun = EventPass(samples, rise_thr, true, last);
    row.noon = samples.transit;
    row.sun_polar = PolarOf(row.sun);
    // Sets minus rises; a day that begins with the Sun up has a negative sum.
    if (row.sun.length_sum != 0) row.day_length = row.sun.length_sum < 0 ? row.sun.length_sum + 24 : row.sun.length_sum;
    row.sun_done = true;

    if (r == 1) twilight_thr = TwilightThreshold(in);
    row.twilight = EventPass(samples, twilight_thr, false, last);
    row.twilight_polar = PolarOf(row.twilight);
    row.twilight_done = true;
  }
}

void FormatSunTable(const SunMonth& month, bool sec, const DateNames& names, TextGrid& grid) {
  grid.ClearRows(1, kSunRows - 1);
  const int yy = month.year % 100;
  for (const SunDayRow& row : month.days) {
    const int r = row.day;
    const char date[] = {static_cast<char>('0' + r / 10), static_cast<char>('0' + r % 10), '.',
                         static_cast<char>('0' + month.month / 10), static_cast<char>('0' + month.month % 10), '.',
                         static_cast<char>('0' + yy / 10), static_cast<char>('0' + yy % 10), ' ', ' ', ' '};
    std::string& date_cell = grid.Cell(0, r);
    date_cell.assign(date, sizeof date);
    date_cell += names.weekday_short[row.weekday];
    if (!row.sun_done) continue;

    for (const Crossing& c : row.sun) {
      TtoCell(grid, sec, c.rise ? 1 : 2, r, c.hours);
      AppendAzimuth(grid.Cell(c.rise ? 5 : 6, r), c);
    }
    TtoCell(grid, sec, 4, r, row.noon);
    if (row.sun.rises != 0 || row.sun.sets != 0) {
      if (row.sun.rises == 0) grid.SetCell(1, r, "---"), grid.SetCell(5, r, "---");
      if (row.sun.sets == 0) grid.SetCell(2, r, "---"), grid.SetCell(6, r, "---");
    } else if (row.sun_polar != PolarState::None) {
      const bool night = row.sun_polar == PolarState::Night;
      grid.SetCell(1, r, night ? "ПОЛЯРНАЯ" : "ПОЛЯРНЫЙ");
      grid.SetCell(2, r, night ? "НОЧЬ" : "ДЕНЬ");
      grid.SetCell(3, r, night ? (sec ? "00:00:00" : "00:00") : (sec ? "24:00:00" : "24:00"));
      grid.SetCell(5, r, "---");
      grid.SetCell(6, r, "---");
    }
    if (row.day_length) TtoCell(grid, sec, 3, r, *row.day_length);
    if (!row.twilight_done) continue;

    for (const Crossing& c : row.twilight) TtoCell(grid, sec, c.rise ? 7 : 8, r, c.hours);
    if (row.twilight.rises != 0 || row.twilight.sets != 0) {
      if (row.twilight.rises == 0) grid.SetCell(7, r, "---");
      if (row.twilight.sets == 0) grid.SetCell(8, r, "---");
    } else if (row.twilight_polar != PolarState::None) {
      const bool night = row.twilight_polar == PolarState::Night;
      grid.SetCell(7, r, night ? "\"полярная" : "\"полярный");
      grid.SetCell(8, r, night ? "ночь\"" : "день\"");
    }
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
