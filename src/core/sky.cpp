#include "sky.h"

#include <cmath>

#include "angles.h"
#include "day_serial.h"
#include "event_search.h"
#include "number_text.h"
#include "observer.h"
#include "sat_table.h"
#include "solar.h"
#include "sun_table.h"
#include "table_text.h"
#include "trig.h"

namespace kelmar {
namespace {

// The day as the sun table prepares it: the two midnight positions and the 48 steps between.
void PrepareLocalDay(const InputFields& in, const Observer& obs, DaySamples& ds, int year, int month, int day) {
  PrepareSamples(PrepareDay(EncodeDate(year, month, day), ZoneHoursOf(in), obs), obs, ds);
}

// Inside a step the hour angle and the declination run linearly, as the crossing search has them.
SunPoint PointAt(const DaySamples& ds, double hours) {
  const int k = std::min(47, std::max(0, static_cast<int>(std::floor(hours * 2))));
  const double x = hours * 2 - k;
  const double h = (ds.h1[k] - ds.h0[k]) * x + ds.h0[k];
  const double dec = (ds.dec[k + 1] - ds.dec[k]) * x + ds.dec[k];
  const double cos_dec = trig::cos(dec), sin_dec = trig::sin(dec);
  const double sin_el = trig::cos(h) * (cos_dec * ds.cos_lat) + sin_dec * ds.sin_lat;
  return {hours, SunAzimuthDeg(h, cos_dec, sin_dec, ds.sin_lat, ds.cos_lat), ArcSin(sin_el) * kRadToDeg};
}

}  // namespace

std::vector<ArcSlot> ArcOf(const InputFields& in, const Horizon& horizon) {
  const SatTable table = SatelliteSlots(ObserverFromFields(in));
  TextGrid grid = MakeSatGrid();
  FormatSatTable(table, grid);
  std::vector<ArcSlot> arc;
  arc.reserve(kSlotCount);
  for (int i = 0; i < kSlotCount; ++i) {
    const SatSlot& slot = table.positions[static_cast<std::size_t>(i)];
    const auto [col, row] = SlotCellOf(i);
    ArcSlot s{slot.lon, grid.Cell(col, row), grid.Cell(col + 1, row), grid.Cell(col + 2, row), grid.Cell(col + 3, row)};
    // The marks stand at the numbers the table shows, so that a mark and its tooltip agree.
    s.az = OneDecimalValue(slot.azimuth);
    s.el = slot.kind == SlotKind::Zenith ? 90 : OneDecimalValue(slot.elevation);
    const double mask = std::isnan(s.az) ? 0 : horizon.ElevationAt(s.az);
    s.visible = s.el > mask;
    arc.push_back(std::move(s));
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
  DaySamples ds;
  PrepareLocalDay(in, obs, ds, year, month, day);
  SunDay out;
  out.path.reserve(289);
  for (int i = 0; i <= 288; ++i) out.path.push_back(PointAt(ds, i / 12.0));
  LastSolved last;
  Crossings pass;
  EventPass(ds, RiseAltSin(), false, last, pass);
  for (const Crossing& c : pass)
    (c.rise ? out.rises : out.sets).push_back(PointAt(ds, c.hours));
  return out;
}

SunPoint SunAt(const InputFields& in, int year, int month, int day, double hours) {
  const Observer obs = ObserverFromFields(in);
  DaySamples ds;
  PrepareLocalDay(in, obs, ds, year, month, day);
  return PointAt(ds, hours);
}

std::vector<DaylightDay> YearDaylight(const InputFields& in, int year) {
  const Observer obs = ObserverFromFields(in);
  const double zone_hours = ZoneHoursOf(in);
  const double rise_thr = RiseAltSin();
  const double twilight = TwilightThreshold(in);
  std::vector<DaylightDay> days;
  days.reserve(366);
  DaySamples ds;
  LastSolved last;
  Crossings pass;
  for (int month = 1; month <= 12; ++month) {
    for (int day = 1; day <= DaysInMonth(year, month); ++day) {
      PrepareSamples(PrepareDay(EncodeDate(year, month, day), zone_hours, obs), obs, ds);
      DaylightDay d;
      d.up_at_midnight = ds.base_start0 - rise_thr > 0;
      d.light_at_midnight = ds.base_start0 - twilight > 0;
      EventPass(ds, rise_thr, false, last, pass);
      for (const Crossing& c : pass) (c.rise ? d.rises : d.sets).push_back(c.hours);
      d.noon = ds.transit;
      EventPass(ds, twilight, false, last, pass);
      for (const Crossing& c : pass) (c.rise ? d.dawns : d.dusks).push_back(c.hours);
      days.push_back(std::move(d));
    }
  }
  return days;
}

}  // namespace kelmar
