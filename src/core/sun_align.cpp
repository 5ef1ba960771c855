#include "sun_align.h"

#include <algorithm>
#include <cmath>

#include "day_serial.h"
#include "number_text.h"
#include "outage.h"
#include "root_search.h"
#include "solar.h"
#include "sun_table.h"
#include "table_text.h"
#include "trig.h"

namespace kelmar {
namespace {

constexpr double kSecond = 1.0 / 86400;
// The Sun's horizontal direction is a sinusoid of the hour angle: it meets an azimuth at most
// twice a day, and a sample every ten minutes brackets each meeting but a grazing one, which
// the search for the sample's extremum then finds.
constexpr int kSteps = 144;

// The Sun's direction from the observer, unit vector in east, north and up.
struct Enu {
  double e, n, u;
};

Enu SunEnu(const Observer& obs, double ut) {
  double dec, lon;
  SunEarthFixed(ut, dec, lon);
  const double h = obs.LonDeg * kDegToRad - lon;
  const double cos_dec = trig::cos(dec), sin_dec = trig::sin(dec), cos_h = trig::cos(h);
  return {-cos_dec * trig::sin(h), obs.CosLat * sin_dec - obs.SinLat * cos_dec * cos_h,
          obs.SinLat * sin_dec + obs.CosLat * cos_dec * cos_h};
}

SunPlace PlaceOf(const Enu& v) {
  double az = trig::atan2(v.e, v.n) * kRadToDeg;
  if (az < 0) az += 360;
  return {az + 0.0, trig::asin(std::clamp(v.u, -1.0, 1.0)) * kRadToDeg};
}

}  // namespace

SunPlace SunPlaceAt(const Observer& obs, double ut) { return PlaceOf(SunEnu(obs, ut)); }

AlignTable ComputeAlignment(const Observer& obs, double zone_hours, double slot_east, const Horizon& horizon,
                            CalendarDate first, int days) {
  const SlotLook look = LookAtSlot(obs, slot_east);
  AlignTable table;
  table.slot = SlotText(slot_east);
  table.azimuth = look.azimuth;
  table.elevation = look.elevation;
  const double sin_t = trig::sin(look.azimuth * kDegToRad), cos_t = trig::cos(look.azimuth * kDegToRad);
  // Zero where the Sun stands in the vertical plane of the slot's azimuth, on either side.
  const auto off_plane = [&](double ut) {
    const Enu v = SunEnu(obs, ut);
    return v.e * cos_t - v.n * sin_t;
  };
  const double rise_thr = RiseAltSin();
  const double zone = zone_hours / 24;
  const double start_date = EncodeDate(first.year, first.month, first.day);
  for (int i = 0; i < days; ++i) {
    const double local_midnight = start_date + i;
    const YMD ymd = DecodeDate(local_midnight);
    AlignDay day{{ymd.year, ymd.month, ymd.day}, {}};
    // Half a second early, so that every moment of the day rounds to a time of that day.
    const double from = local_midnight - zone - 0.5 * kSecond;
    double t[kSteps + 1], g[kSteps + 1];
    for (int k = 0; k <= kSteps; ++k) {
      t[k] = from + static_cast<double>(k) / kSteps;
      g[k] = off_plane(t[k]);
    }
    std::vector<double> roots;
    for (int k = 0; k < kSteps; ++k) {
      if (k > 0 && (g[k - 1] < 0) == (g[k] < 0) && (g[k] < 0) == (g[k + 1] < 0) &&
          std::abs(g[k]) < std::abs(g[k - 1]) && std::abs(g[k]) <= std::abs(g[k + 1])) {
        // Nearest the plane between samples on one side: the Sun may dip across and back.
        const double side = g[k] < 0 ? -1 : 1;
        const double m = MinimumOn(t[k - 1], t[k + 1], [&](double x) { return side * off_plane(x); });
        if (side * off_plane(m) < 0) {
          roots.push_back(RootOn(t[k - 1], m, off_plane));
          roots.push_back(RootOn(m, t[k + 1], off_plane));
        }
      }
      if ((g[k] < 0) != (g[k + 1] < 0)) roots.push_back(RootOn(t[k], t[k + 1], off_plane));
    }
    std::sort(roots.begin(), roots.end());
    for (const double r : roots) {
      if (r < from || r >= from + 1) continue;
      const Enu v = SunEnu(obs, r);
      const SunPlace place = PlaceOf(v);
      AlignEvent e;
      e.kind = v.e * sin_t + v.n * cos_t > 0 ? AlignKind::Sun : AlignKind::Shadow;
      e.hours = (r - (local_midnight - zone)) * 24;
      e.seconds = static_cast<int>(std::clamp<long long>(std::llround(e.hours * 3600), 0, 86399));
      e.azimuth = place.az;
      e.elevation = place.el;
      e.above_horizon = v.u > rise_thr;
      e.above_mask = place.el > horizon.ElevationAt(place.az);
      day.events.push_back(e);
    }
    table.days.push_back(std::move(day));
  }
  return table;
}

AlignTable ComputeAlignment(const InputFields& in, const Horizon& horizon, CalendarDate first, int days) {
  const Observer obs = ObserverFromFields(in);
  const double slot = SlotFromText(in.slot);
  return ComputeAlignment(obs, ZoneHoursOf(in), slot, horizon, first, days);
}

namespace {

const char* KindText(AlignKind k) { return k == AlignKind::Sun ? "Солнце" : "Тень"; }
const char* YesNo(bool b) { return b ? "да" : "нет"; }

}  // namespace

TextGrid MakeAlignGrid(const AlignTable& table) {
  int rows = 1;
  for (const AlignDay& d : table.days) rows += std::max<int>(1, static_cast<int>(d.events.size()));
  TextGrid grid(kAlignCols, rows);
  static const char* const kHeaders[kAlignCols] = {"Дата", "По", "Время", "Высота, °", "Над горизонтом", "Над маской"};
  for (int c = 0; c < kAlignCols; ++c) grid.SetCell(c, 0, kHeaders[c]);
  int r = 1;
  for (const AlignDay& d : table.days) {
    grid.SetCell(0, r, DateText(d.date));
    if (d.events.empty()) grid.SetCell(1, r++, "нет");
    for (const AlignEvent& e : d.events) {
      const std::string cells[kAlignCols] = {DateText(d.date),  KindText(e.kind),         ClockText(e.seconds),
                                             FormatTwoDecimals(e.elevation), YesNo(e.above_horizon), YesNo(e.above_mask)};
      for (int c = 0; c < kAlignCols; ++c) grid.SetCell(c, r, cells[c]);
      ++r;
    }
  }
  return grid;
}

std::string AlignEventText(const AlignEvent& e) {
  std::string text = ClockText(e.seconds) + " (";
  if (e.above_mask && e.above_horizon) return text + FormatOneDecimal(e.elevation) + "°)";
  return text + (e.above_horizon ? "за препятствием)" : "под горизонтом)");
}

std::string AlignLine(const AlignDay& day) {
  std::string line = DateText(day.date);
  for (const AlignKind kind : {AlignKind::Sun, AlignKind::Shadow}) {
    line += kind == AlignKind::Sun ? "  по Солнцу " : "  по тени ";
    bool any = false;
    for (const AlignEvent& e : day.events) {
      if (e.kind != kind) continue;
      line += any ? ", " : "";
      line += AlignEventText(e);
      any = true;
    }
    if (!any) line += "нет";
  }
  return line;
}

}  // namespace kelmar
