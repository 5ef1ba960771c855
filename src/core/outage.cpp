#include "outage.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "calc_error.h"
#include "day_serial.h"
#include "float_chars.h"
#include "number_text.h"
#include "sat_table.h"
#include "solar.h"
#include "sun_table.h"

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
constexpr double kTolerance = 0.005 * kSecond;

struct Vec {
  double x, y, z;
};
double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double AngleBetween(const Vec& a, const Vec& b) {
  const Vec c{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  return std::atan2(std::sqrt(Dot(c, c)), Dot(a, b));
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
    observer = {cos_phi * std::cos(lam), cos_phi * std::sin(lam), sin_phi};
    Vec a{kOrbitRadius * std::cos(sat) - observer.x, kOrbitRadius * std::sin(sat) - observer.y, -observer.z};
    const double len = std::sqrt(Dot(a, a));
    to_sat = {a.x / len, a.y / len, a.z / len};
    sat_dec = std::asin(to_sat.z);
    sat_lon = std::atan2(to_sat.y, to_sat.x);
    const double g = std::cos(sat - lam) * cos_phi;
    elevation = std::atan((g - kInvOrbitRadius) / std::sqrt(1 - g * g)) * kRadToDeg;
    const Vec east{-std::sin(lam), std::cos(lam), 0};
    const Vec north{-sin_phi * std::cos(lam), -sin_phi * std::sin(lam), cos_phi};
    azimuth = std::atan2(Dot(to_sat, east), Dot(to_sat, north)) * kRadToDeg;
    if (azimuth < 0) azimuth += 360;
  }
};

// The Sun's declination and Earth-fixed longitude at ut, from the sun table's model: its
// sidereal time, carried on through the day at the same rate.
void SunAt(double ut, double& dec, double& lon) {
  const double d = ut - 36526.5;
  const double t = d / 36525;
  double ra;
  SunRaDec(d, t + 1, ra, dec);
  const double gmst = kTwoPi * Frac((8640184.813 * t + 24110.5) / 86400 + (ut - std::floor(ut)));
  lon = ra - gmst;
}

double Separation(const Geometry& g, double ut) {
  double dec, lon;
  SunAt(ut, dec, lon);
  const double r = kSunDistance * std::cos(dec);
  const Vec sun{r * std::cos(lon) - g.observer.x, r * std::sin(lon) - g.observer.y,
                kSunDistance * std::sin(dec) - g.observer.z};
  return AngleBetween(g.to_sat, sun) * kRadToDeg;
}

// The moment nearest to ut when the Sun's Earth-fixed longitude equals the satellite's; it falls
// by a turn a day.
double Transit(const Geometry& g, double ut) {
  for (int i = 0; i < 3; ++i) {
    double dec, lon;
    SunAt(ut, dec, lon);
    ut += WrapPi(lon - g.sat_lon) / kTwoPi;
  }
  return ut;
}

template <class F>
double MinimumOn(double a, double b, F f) {
  constexpr double kInvPhi = 0.6180339887498949;
  double c = b - kInvPhi * (b - a), d = a + kInvPhi * (b - a);
  double fc = f(c), fd = f(d);
  while (b - a > kTolerance) {
    if (fc < fd) {
      b = d, d = c, fd = fc;
      c = b - kInvPhi * (b - a), fc = f(c);
    } else {
      a = c, c = d, fc = fd;
      d = a + kInvPhi * (b - a), fd = f(d);
    }
  }
  return (a + b) / 2;
}

// The root of f in [a, b] where f(a) and f(b) differ in sign (regula falsi, Illinois variant).
template <class F>
double RootOn(double a, double b, F f) {
  double fa = f(a), fb = f(b);
  int side = 0;
  for (int i = 0; i < 100 && b - a > kTolerance; ++i) {
    const double c = (a * fb - b * fa) / (fb - fa);
    const double fc = f(c);
    if ((fc < 0) == (fa < 0)) {
      a = c, fa = fc;
      if (side == -1) fb /= 2;
      side = -1;
    } else {
      b = c, fb = fc;
      if (side == 1) fa /= 2;
      side = 1;
    }
    if (fc == 0) return c;
  }
  return (a + b) / 2;
}

void Append2(std::string& s, long long v) {
  s += static_cast<char>('0' + v / 10 % 10);
  s += static_cast<char>('0' + v % 10);
}

std::string ClockText(long long secs) {
  secs %= 86400;
  std::string s;
  Append2(s, secs / 3600);
  s += ':';
  Append2(s, secs / 60 % 60);
  s += ':';
  Append2(s, secs % 60);
  return s;
}

std::string BadSlotMessage(std::string_view text) {
  return "Неверная позиция спутника '" + std::string(text) + "'";
}

}  // namespace

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

double SunSatSeparation(const OutageSite& site, double ut) { return Separation(Geometry(site), ut); }

std::vector<OutagePass> FindOutages(const OutageSite& site, double alpha, double from, double to) {
  const Geometry g(site);
  const double sat_dec_deg = g.sat_dec * kRadToDeg;
  const auto psi = [&](double t) { return Separation(g, t); };
  const auto above = [&](double t) { return Separation(g, t) - alpha; };
  std::vector<OutagePass> passes;
  for (double t = Transit(g, from - 1); t < to + 0.5;) {
    double dec, lon;
    SunAt(t, dec, lon);
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
      const double half = std::sqrt(alpha * alpha - p.separation * p.separation) / (360 * std::cos(dec));
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
  for (const OutagePass& p : FindOutages(site, angle, from, to)) {
    const long long start = std::llround((p.start + zone) * 86400);
    const long long peak = std::llround((p.peak + zone) * 86400);
    const long long end = std::llround((p.end + zone) * 86400);
    const YMD date = DecodeDate(static_cast<double>(peak / 86400));
    if (date.year != year) continue;
    OutageRow r;
    r.year = date.year, r.month = date.month, r.day = date.day;
    r.start = ClockText(start), r.peak = ClockText(peak), r.end = ClockText(end);
    const long long secs = end - start;
    r.duration = (secs < 600 ? "0" : "") + std::to_string(secs / 60) + ':';
    Append2(r.duration, secs % 60);
    r.separation = p.separation;
    t.rows.push_back(std::move(r));
  }
  return t;
}

double OutageAngleOf(const InputFields& in) { return OutageAngle(StrToFloat(in.EDish), StrToFloat(in.EFreq)); }

OutageTable ComputeOutages(const InputFields& in, int year) {
  const Observer obs = ObserverFromFields(in);
  const double slot = SlotFromText(in.ESlot);
  const double angle = OutageAngleOf(in);
  return ComputeOutages(obs, ZoneHoursOf(in), slot, angle, year);
}

std::string OutageDateText(const OutageRow& r) {
  std::string s;
  Append2(s, r.day);
  s += '.';
  Append2(s, r.month);
  s += '.';
  s += std::to_string(r.year);
  return s;
}

std::string FormatTwoDecimals(double v) {
  const long long c = std::llround(std::abs(v) * 100);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s%lld.%02lld", v < 0 && c != 0 ? "-" : "", c / 100, c % 100);
  return buf;
}

std::string HiddenSlotMessage(const std::string& slot) { return "Спутник " + slot + " не виден из этого пункта"; }

TextGrid MakeOutageGrid(const OutageTable& table) {
  TextGrid grid(kOutageCols, static_cast<int>(table.rows.size()) + 1);
  static const char* const kHeaders[kOutageCols] = {"Дата", "Начало", "Максимум", "Конец", "Длит.", "Угол, °"};
  for (int c = 0; c < kOutageCols; ++c) grid.SetCell(c, 0, kHeaders[c]);
  int r = 1;
  for (const OutageRow& row : table.rows) {
    const std::string cells[kOutageCols] = {OutageDateText(row), row.start,    row.peak,
                                            row.end,             row.duration, FormatTwoDecimals(row.separation)};
    for (int c = 0; c < kOutageCols; ++c) grid.SetCell(c, r, cells[c]);
    ++r;
  }
  return grid;
}

std::string OutageInfoLine(const OutageTable& table) {
  return "Угол интерференции " + FormatTwoDecimals(table.angle) + "°   Азимут " + FormatOneDecimal(table.azimuth) +
         "°   Высота " + FormatOneDecimal(table.elevation) + "°";
}

std::string OutageNote(const OutageTable& table, int year) {
  if (!table.visible) return HiddenSlotMessage(table.slot);
  if (table.rows.empty()) return "В " + std::to_string(year) + " году интерференции нет";
  return {};
}

}  // namespace kelmar
