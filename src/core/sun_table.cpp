#include "sun_table.h"

#include <algorithm>
#include <cmath>

#include "calc_error.h"
#include "day_serial.h"
#include "event_search.h"
#include "locator.h"
#include "number_text.h"
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

void AppendAzimuth(std::string& cell, const char* azimuth_text) {
  cell += ' ';
  cell += azimuth_text;
}

}  // namespace

double ZoneHoursOf(const InputFields& in) {
  return in.RadioButtonMSK ? StrToFloat(in.EditMSK) + 4 : StrToFloat(in.EditGMT);
}

// The sine of the altitude at which twilight begins or ends.
double TwilightThreshold(const InputFields& in) {
  if (in.RadioButtonUgol) return -std::sin(StrToFloat(in.EditUg) * kDegToRad);
  const double h = StrToFloat(in.EditKm);
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

void Calc(CalcState& st, const InputFields& in, TextGrid& grid) {
  grid.ClearRows(1, kSunRows - 1);
  const Observer obs = ObserverFromFields(in);
  st.Locator = LocatorFromCoords(obs.LatDeg, obs.LonDeg);

  const bool sec = in.CheckBoxSec;
  const int days = DaysInMonth(st.Year, st.Month);
  DaySamples samples;
  double zone_hours = 0;
  double twilight_thr = 0;
  for (int r = 1; r <= days; ++r) {
    st.DayLenAcc = 0;
    st.CurDate = EncodeDate(st.Year, st.Month, r);
    // The fields cannot change while the table is computed: read on day 1, where a bad text stops
    // the run, and reused afterwards.
    if (r == 1) zone_hours = ZoneHoursOf(in);
    st.ZoneHours = zone_hours;

    const int yy = st.Year % 100;
    const char date[] = {static_cast<char>('0' + r / 10), static_cast<char>('0' + r % 10), '.',
                         static_cast<char>('0' + st.Month / 10), static_cast<char>('0' + st.Month % 10), '.',
                         static_cast<char>('0' + yy / 10), static_cast<char>('0' + yy % 10), ' ', ' ', ' '};
    std::string& date_cell = grid.Cell(0, r);
    date_cell.assign(date, sizeof date);
    date_cell += st.Names.weekday_short[WeekdayMondayFirst(st.CurDate)];

    PrepareDay(st, obs);
    st.TransitTime = 0;
    PrepareSamples(st, obs, samples, st.ExactSamples);

    EventPass(
        st, samples, st.RiseAltSin, true,
        [&] {
          TtoCell(grid, sec, 1, r, st.EventTime);
          AppendAzimuth(grid.Cell(5, r), st.AzimuthText);
        },
        [&] {
          TtoCell(grid, sec, 2, r, st.EventTime);
          AppendAzimuth(grid.Cell(6, r), st.AzimuthText);
        });
    TtoCell(grid, sec, 4, r, st.TransitTime);

    if (st.RiseCount != 0 || st.SetCount != 0) {
      if (st.RiseCount == 0) grid.SetCell(1, r, "---"), grid.SetCell(5, r, "---");
      if (st.SetCount == 0) grid.SetCell(2, r, "---"), grid.SetCell(6, r, "---");
    } else if (st.AltFnEnd < 0) {  // polar night
      grid.SetCell(1, r, "ПОЛЯРНАЯ");
      grid.SetCell(2, r, "НОЧЬ");
      grid.SetCell(3, r, sec ? "00:00:00" : "00:00");
      grid.SetCell(5, r, "---");
      grid.SetCell(6, r, "---");
    } else if (st.AltFnEnd > 0) {  // polar day
      grid.SetCell(1, r, "ПОЛЯРНЫЙ");
      grid.SetCell(2, r, "ДЕНЬ");
      grid.SetCell(3, r, sec ? "24:00:00" : "24:00");
      grid.SetCell(5, r, "---");
      grid.SetCell(6, r, "---");
    }

    // Sets minus rises; a day that begins with the Sun up has a negative sum.
    if (st.DayLenAcc != 0) {
      double len = st.DayLenAcc;
      if (len < 0) len = len + 24;
      TtoCell(grid, sec, 3, r, len);
    }

    if (r == 1) twilight_thr = TwilightThreshold(in);
    EventPass(
        st, samples, twilight_thr, false, [&] { TtoCell(grid, sec, 7, r, st.EventTime); },
        [&] { TtoCell(grid, sec, 8, r, st.EventTime); });

    if (st.RiseCount != 0 || st.SetCount != 0) {
      if (st.RiseCount == 0) grid.SetCell(7, r, "---");
      if (st.SetCount == 0) grid.SetCell(8, r, "---");
    } else if (st.AltFnEnd < 0) {
      grid.SetCell(7, r, "\"полярная");
      grid.SetCell(8, r, "ночь\"");
    } else if (st.AltFnEnd > 0) {
      grid.SetCell(7, r, "\"полярный");
      grid.SetCell(8, r, "день\"");
    }
  }
}

}  // namespace kelmar
