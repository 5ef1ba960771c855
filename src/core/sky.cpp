#include "sky.h"

#include <cmath>
#include <limits>

#include "day_serial.h"
#include "event_search.h"
#include "number_text.h"
#include "observer.h"
#include "sat_table.h"
#include "solar.h"
#include "sun_table.h"

namespace kelmar {
namespace {

CalcState NewState(const InputFields& in) {
  CalcState st;
  InitRiseAltSin(st);
  st.ZoneHours = ZoneHoursOf(in);
  return st;
}

// The day as the sun table prepares it: the two midnight positions and the 48 steps between.
void PrepareLocalDay(CalcState& st, const Observer& obs, DaySamples& ds, int year, int month, int day) {
  st.CurDate = EncodeDate(year, month, day);
  PrepareDay(st, obs);
  st.TransitTime = 0;
  PrepareSamples(st, obs, ds);
}

// Inside a step the hour angle and the declination run linearly, as the crossing search has them.
SunPoint PointAt(const DaySamples& ds, double hours) {
  const int k = std::min(47, std::max(0, static_cast<int>(std::floor(hours * 2))));
  const double x = hours * 2 - k;
  const double h = (ds.h1[k] - ds.h0[k]) * x + ds.h0[k];
  const double dec = (ds.dec[k + 1] - ds.dec[k]) * x + ds.dec[k];
  const double cos_dec = std::cos(dec), sin_dec = std::sin(dec);
  const double sin_el = std::cos(h) * (cos_dec * ds.cos_lat) + sin_dec * ds.sin_lat;
  return {hours, SunAzimuthDeg(h, cos_dec, sin_dec, ds.sin_lat, ds.cos_lat), ArcSin(sin_el) * kRadToDeg};
}

// A cell of the satellite table as a number: "зенит" is 90 for an elevation, "---" and "+" none.
double CellNumber(const std::string& text, bool elevation) {
  if (text == "зенит") return elevation ? 90 : std::numeric_limits<double>::quiet_NaN();
  return ParseFloat(text).value_or(std::numeric_limits<double>::quiet_NaN());
}

}  // namespace

TextGrid SatelliteTableOf(const InputFields& in) {
  TextGrid grid = MakeSatGrid();
  Satel(ObserverFromFields(in), grid);
  return grid;
}

std::vector<ArcSlot> ArcFromTable(const TextGrid& sat, const Horizon& horizon) {
  std::vector<ArcSlot> arc;
  arc.reserve(160);
  for (int group = 0; group < 4; ++group) {
    for (int row = 1; row <= 40; ++row) {
      const int col = 5 * group;
      ArcSlot s{sat.Cell(col, row), sat.Cell(col + 1, row), sat.Cell(col + 2, row), sat.Cell(col + 3, row)};
      s.az = CellNumber(s.azimuth, false);
      s.el = CellNumber(s.elevation, true);
      const double mask = std::isnan(s.az) ? 0 : horizon.ElevationAt(s.az);
      s.visible = s.el > mask;
      arc.push_back(std::move(s));
    }
  }
  return arc;
}

int VisibleSlots(const std::vector<ArcSlot>& arc) {
  int n = 0;
  for (const ArcSlot& s : arc) n += s.visible;
  return n;
}

SunDay SunDayOf(const InputFields& in, int year, int month, int day) {
  const Observer obs = ObserverFromFields(in);
  CalcState st = NewState(in);
  DaySamples ds;
  PrepareLocalDay(st, obs, ds, year, month, day);
  SunDay out;
  out.path.reserve(289);
  for (int i = 0; i <= 288; ++i) out.path.push_back(PointAt(ds, i / 12.0));
  EventPass(
      st, ds, st.RiseAltSin, false, [&] { out.rises.push_back(PointAt(ds, st.EventTime)); },
      [&] { out.sets.push_back(PointAt(ds, st.EventTime)); });
  return out;
}

SunPoint SunAt(const InputFields& in, int year, int month, int day, double hours) {
  const Observer obs = ObserverFromFields(in);
  CalcState st = NewState(in);
  DaySamples ds;
  PrepareLocalDay(st, obs, ds, year, month, day);
  return PointAt(ds, hours);
}

std::vector<DaylightDay> YearDaylight(const InputFields& in, int year) {
  const Observer obs = ObserverFromFields(in);
  CalcState st = NewState(in);
  const double twilight = TwilightThreshold(in);
  std::vector<DaylightDay> days;
  days.reserve(366);
  DaySamples ds;
  for (int month = 1; month <= 12; ++month) {
    for (int day = 1; day <= DaysInMonth(year, month); ++day) {
      PrepareLocalDay(st, obs, ds, year, month, day);
      DaylightDay d;
      d.up_at_midnight = ds.base_start0 - st.RiseAltSin > 0;
      d.light_at_midnight = ds.base_start0 - twilight > 0;
      EventPass(
          st, ds, st.RiseAltSin, false, [&] { d.rises.push_back(st.EventTime); },
          [&] { d.sets.push_back(st.EventTime); });
      d.noon = st.TransitTime;
      EventPass(
          st, ds, twilight, false, [&] { d.dawns.push_back(st.EventTime); },
          [&] { d.dusks.push_back(st.EventTime); });
      days.push_back(std::move(d));
    }
  }
  return days;
}

}  // namespace kelmar
