#include "outage.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "calc_error.h"
#include "day_serial.h"
#include "float_chars.h"
#include "number_text.h"
#include "root_search.h"
#include "sat_table.h"
#include "solar.h"
#include "sun_table.h"
#include "table_text.h"
#include "trig.h"

namespace kelmar {
namespace {

constexpr double kSunDistance = 149597870.7 / 6371.0;  // one astronomical unit in Earth radii
constexpr double kSecond = 1.0 / 86400;

// The Sun's declination changes by less than this in a day (0.406° at the equinoxes).
constexpr double kMaxDecPerDay = 0.41;
// The least separation in a pass is at least the difference of the declinations, less the
// Sun's parallax (0.0025°) and the declination's drift during the pass: this covers both.
constexpr double kDecMargin = 0.01;
// The peak lies within seconds of the moment the Sun's hour angle equals the satellite's.
constexpr double kPeakWindow = 40.0 / 1440;

struct Vec {
  double x, y, z;
};
double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double AngleBetween(const Vec& a, const Vec& b) {
  const Vec c{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  return trig::atan2(std::sqrt(Dot(c, c)), Dot(a, b));
}
double WrapPi(double x) { return x - kTwoPi * std::round(x / kTwoPi); }

// Earth-fixed frame: x towards longitude 0 on the equator, z towards the north pole.
struct Geometry {
  Vec observer;  // Earth radii
  Vec to_sat;    // unit vector from the observer to the satellite
  double sat_dec;   // the satellite's declination and Earth-fixed longitude seen from the observer
  double sat_lon;
  double elevation;  // the satellite table's formula, degrees
  double azimuth;

  explicit Geometry(const OutageSite& s) {
    const double cos_phi = s.obs.CosLat, sin_phi = s.obs.SinLat;
    const double lam = s.obs.LonDeg * kDegToRad;
    const double sat = s.slot_east * kDegToRad;
    observer = {cos_phi * trig::cos(lam), cos_phi * trig::sin(lam), sin_phi};
    Vec a{kOrbitRadius * trig::cos(sat) - observer.x, kOrbitRadius * trig::sin(sat) - observer.y, -observer.z};
    const double len = std::sqrt(Dot(a, a));
    to_sat = {a.x / len, a.y / len, a.z / len};
    sat_dec = trig::asin(to_sat.z);
    sat_lon = trig::atan2(to_sat.y, to_sat.x);
    const double g = trig::cos(sat - lam) * cos_phi;
    elevation = trig::atan((g - kInvOrbitRadius) / std::sqrt(1 - g * g)) * kRadToDeg;
    const Vec east{-trig::sin(lam), trig::cos(lam), 0};
    const Vec north{-sin_phi * trig::cos(lam), -sin_phi * trig::sin(lam), cos_phi};
    azimuth = trig::atan2(Dot(to_sat, east), Dot(to_sat, north)) * kRadToDeg;
    if (azimuth < 0) azimuth += 360;
  }
};

double Separation(const Geometry& g, double ut) {
  double dec, lon;
  SunEarthFixed(ut, dec, lon);
  const double r = kSunDistance * trig::cos(dec);
  const Vec sun{r * trig::cos(lon) - g.observer.x, r * trig::sin(lon) - g.observer.y,
                kSunDistance * trig::sin(dec) - g.observer.z};
  return AngleBetween(g.to_sat, sun) * kRadToDeg;
}

// The sine of the Sun's altitude seen from the observer at ut, as the sun table reckons it
// (from the Earth's centre: the parallax is a thousandth of the Sun's radius).
double SunAltitudeSine(const Geometry& g, double ut) {
  double dec, lon;
  SunEarthFixed(ut, dec, lon);
  // The observer's position is a unit vector: the local vertical.
  return trig::cos(dec) * (trig::cos(lon) * g.observer.x + trig::sin(lon) * g.observer.y) + trig::sin(dec) * g.observer.z;
}

// The moment nearest to ut when the Sun's Earth-fixed longitude equals the satellite's; it falls
// by a turn a day.
double Transit(const Geometry& g, double ut) {
  for (int i = 0; i < 3; ++i) {
    double dec, lon;
    SunEarthFixed(ut, dec, lon);
    ut += WrapPi(lon - g.sat_lon) / kTwoPi;
  }
  return ut;
}

std::string BadSlotMessage(std::string_view text) {
  return "Неверная позиция спутника '" + std::string(text) + "'";
}

struct CutPass {
  OutagePass pass;
  OutageCut cut = OutageCut::None;
};

// The part of the pass with the Sun above the threshold (rise_sin, the sine of its altitude);
// nothing when there is none. A pass lasts minutes, so the Sun crosses the threshold at most
// once on each side of its highest point in it.
std::optional<CutPass> CutByHorizon(const Geometry& g, OutagePass p, double rise_sin) {
  const auto up = [&](double t) { return SunAltitudeSine(g, t) - rise_sin; };
  const bool start_up = up(p.start) >= 0, end_up = up(p.end) >= 0;
  CutPass out;
  if (start_up && end_up) {
    out.pass = p;
    return out;
  }
  if (!start_up && !end_up) {
    const double top = MinimumOn(p.start, p.end, [&](double t) { return -up(t); });
    if (up(top) < 0) return std::nullopt;
    p.start = RootOn(p.start, top, up);
    p.end = RootOn(top, p.end, up);
    out.cut = OutageCut::Both;
  } else if (!start_up) {
    p.start = RootOn(p.start, p.end, up);
    out.cut = OutageCut::Start;
  } else {
    p.end = RootOn(p.start, p.end, up);
    out.cut = OutageCut::End;
  }
  // The separation grows away from the peak, so the least of the visible part is at its edge.
  p.peak = std::clamp(p.peak, p.start, p.end);
  p.separation = Separation(g, p.peak);
  out.pass = p;
  return out;
}

}  // namespace

const char* OutageCutName(OutageCut cut) {
  switch (cut) {
    case OutageCut::Start: return "start";
    case OutageCut::End: return "end";
    case OutageCut::Both: return "both";
    case OutageCut::None: break;
  }
  return nullptr;
}

bool HasCut(const OutageTable& table) {
  return std::any_of(table.rows.begin(), table.rows.end(), [](const OutageRow& r) { return r.cut != OutageCut::None; });
}

std::optional<double> ParseSlot(std::string_view text) {
  const std::string_view s = TrimBlanks(text);
  std::size_t n = 0;
  bool digits = false, point = false;
  for (; n < s.size(); ++n) {
    if (s[n] >= '0' && s[n] <= '9') digits = true;
    else if (s[n] == '.' && !point) point = true;
    else break;
  }
  if (!digits) return std::nullopt;
  const std::optional<double> read = ReadDouble(s.substr(0, n));
  if (!read) return std::nullopt;
  const double v = *read;
  const std::string_view rest = TrimBlanks(s.substr(n));
  if (v > 180) return std::nullopt;
  if (rest.empty()) {
    if (v != 0 && v != 180) return std::nullopt;  // the side is only optional where it does not matter
    return v;
  }
  if (rest.size() != 1) return std::nullopt;
  const char side = rest[0];
  if (side == 'E' || side == 'e') return v;
  if (side == 'W' || side == 'w') return v == 180 ? 180.0 : -v + 0.0;
  return std::nullopt;
}

double SlotFromText(std::string_view text) {
  const auto v = ParseSlot(text);
  if (!v) throw CalcError(BadSlotMessage(text));
  return *v;
}

std::string SlotText(double east) {
  if (east == 0 || std::abs(east) == 180) return east == 0 ? "0" : "180";
  return FloatToStr(std::abs(east)) + (east < 0 ? " W" : " E");
}

double OutageAngle(double dish_m, double freq_ghz) {
  if (!(dish_m >= 0.1 && dish_m <= 30)) throw CalcError("Диаметр антенны должен быть от 0.1 до 30 м");
  if (!(freq_ghz >= 1 && freq_ghz <= 50)) throw CalcError("Частота должна быть от 1 до 50 ГГц");
  const double wavelength = kLightSpeed / (freq_ghz * 1e9);
  return kBeamwidthFactor * wavelength / dish_m / 2 + kSunRadiusDeg;
}

SlotLook LookAtSlot(const Observer& obs, double slot_east) {
  const Geometry g({obs, slot_east});
  return {g.azimuth, g.elevation};
}

double SunSatSeparation(const OutageSite& site, double ut) { return Separation(Geometry(site), ut); }

std::vector<OutagePass> FindOutages(const OutageSite& site, double alpha, double from, double to) {
  const Geometry g(site);
  const double sat_dec_deg = g.sat_dec * kRadToDeg;
  const auto psi = [&](double t) { return Separation(g, t); };
  const auto above = [&](double t) { return Separation(g, t) - alpha; };
  std::vector<OutagePass> passes;
  for (double t = Transit(g, from - 1); t < to + 0.5;) {
    double dec, lon;
    SunEarthFixed(t, dec, lon);
    const double least = std::abs(dec * kRadToDeg - sat_dec_deg) - kDecMargin;
    if (least > alpha) {
      // The declinations cannot come within alpha for the next few days either.
      t = Transit(g, t + std::max(1.0, std::floor((least - alpha) / kMaxDecPerDay)));
      continue;
    }
    OutagePass p;
    p.peak = MinimumOn(t - kPeakWindow, t + kPeakWindow, psi);
    p.separation = psi(p.peak);
    if (p.separation < alpha && p.peak >= from && p.peak < to) {
      // Near the peak the Sun crosses the beam at about 360·cos δ degrees a day.
      const double half = std::sqrt(alpha * alpha - p.separation * p.separation) / (360 * trig::cos(dec));
      const double w = std::min(0.5, 1.3 * half + 60 * kSecond);
      // Half a day from the peak the Sun is at least 140° from the satellite.
      p.start = RootOn(above(p.peak - w) >= 0 ? p.peak - w : p.peak - 0.5, p.peak, above);
      p.end = RootOn(p.peak, above(p.peak + w) >= 0 ? p.peak + w : p.peak + 0.5, above);
      passes.push_back(p);
    }
    t = Transit(g, t + 1);
  }
  return passes;
}

OutageTable ComputeOutages(const Observer& obs, double zone_hours, double slot_east, double angle, int year) {
  const OutageSite site{obs, slot_east};
  const double zone = zone_hours / 24;
  const Geometry g(site);
  OutageTable t;
  t.slot = SlotText(slot_east);
  t.angle = angle;
  t.azimuth = g.azimuth;
  t.elevation = g.elevation;
  t.visible = g.elevation > 0;
  if (!t.visible) return t;
  // A peak a fraction of a second before midnight is shown at 00:00:00 of the next day.
  const double from = EncodeDate(year, 1, 1) - zone - kSecond;
  const double to = EncodeDate(year + 1, 1, 1) - zone + kSecond;
  const double rise_thr = RiseAltSin();
  for (const OutagePass& found : FindOutages(site, angle, from, to)) {
    const std::optional<CutPass> seen = CutByHorizon(g, found, rise_thr);
    if (!seen) continue;  // the Earth stands between
    const OutagePass& p = seen->pass;
    const long long start = std::llround((p.start + zone) * 86400);
    const long long peak = std::llround((p.peak + zone) * 86400);
    const long long end = std::llround((p.end + zone) * 86400);
    const YMD date = DecodeDate(static_cast<double>(FloorDiv(peak, 86400)));
    if (date.year != year) continue;
    OutageRow r;
    r.year = date.year, r.month = date.month, r.day = date.day;
    r.start = ClockText(start), r.peak = ClockText(peak), r.end = ClockText(end);
    r.duration = OutageDurationText(end - start);
    r.separation = p.separation;
    r.cut = seen->cut;
    t.rows.push_back(std::move(r));
  }
  return t;
}

double OutageAngleOf(const InputFields& in) { return OutageAngle(StrToFloat(in.dish), StrToFloat(in.frequency)); }

OutageTable ComputeOutages(const InputFields& in, int year) {
  const Observer obs = ObserverFromFields(in);
  const double slot = SlotFromText(in.slot);
  const double angle = OutageAngleOf(in);
  return ComputeOutages(obs, ZoneHoursOf(in), slot, angle, year);
}

}  // namespace kelmar
