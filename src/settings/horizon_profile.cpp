#include "settings/horizon_profile.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>

#include "core/calc_error.h"
#include "core/number_text.h"

namespace kelmar {
namespace {

constexpr const char* kNoProfile = "В файле нет профиля горизонта";

[[noreturn]] void BadLine(std::size_t line, const std::string& what) {
  throw CalcError("Профиль горизонта, строка " + std::to_string(line) + ": " + what);
}

// The point of a line, checked: true azimuth from a value counted from `zero` (0 or −180).
ProfilePoint Checked(double a, double el, double zero, std::size_t line) {
  if (!(a >= zero && a <= zero + 360))
    BadLine(line, "азимут должен быть от " + FloatToStr(zero) + " до " + FloatToStr(zero + 360));
  if (!(el <= 90)) BadLine(line, "высота должна быть не больше 90");
  // A + 180 in floating point leaves a tail ("0.0999999999999943"): microdegrees are plenty.
  const double az = zero == 0 ? a : std::round((a - zero) * 1e6) / 1e6;
  return {az, std::max(0.0, el)};
}

std::vector<std::string_view> Fields(std::string_view line, std::string_view separators) {
  std::vector<std::string_view> out;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t end = std::min(line.find_first_of(separators, pos), line.size());
    if (end > pos) out.push_back(line.substr(pos, end - pos));
    pos = end + 1;
  }
  return out;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t end = std::min(text.find('\n', pos), text.size());
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    pos = end + 1;
  }
  return lines;
}

std::vector<ProfilePoint> FromJson(std::string_view text) {
  nlohmann::json j;
  try {
    j = nlohmann::json::parse(text);
  } catch (const nlohmann::json::parse_error& e) {
    const std::size_t at = std::min<std::size_t>(e.byte, text.size());
    BadLine(1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n')),
            "ошибка в JSON");
  }
  const auto outputs = j.find("outputs");
  if (!j.is_object() || outputs == j.end() || !outputs->is_object()) throw CalcError(kNoProfile);
  const auto profile = outputs->find("horizon_profile");
  if (profile == outputs->end() || !profile->is_array() || profile->empty()) throw CalcError(kNoProfile);
  std::vector<ProfilePoint> points;
  for (std::size_t i = 0; i < profile->size(); ++i) {
    const nlohmann::json& p = (*profile)[i];
    const auto a = p.is_object() ? p.find("A") : p.end();
    const auto h = p.is_object() ? p.find("H_hor") : p.end();
    const std::string where = "Профиль горизонта, точка " + std::to_string(i + 1) + ": ";
    if (!p.is_object() || a == p.end() || h == p.end() || !a->is_number() || !h->is_number())
      throw CalcError(where + "нужны числа A и H_hor");
    try {
      points.push_back(Checked(a->get<double>(), h->get<double>(), -180, 0));
    } catch (const CalcError& e) {
      const std::string m = e.what();
      throw CalcError(where + m.substr(m.find(": ") + 2));
    }
  }
  return points;
}

std::optional<double> Number(std::string_view field) { return ParseFloat(TrimBlanks(field)); }

// PVGIS's CSV: lines before the header row are its location, the empty line after the data
// starts its legend.
std::vector<ProfilePoint> FromCsv(const std::vector<std::string_view>& lines, std::size_t header) {
  const std::vector<std::string_view> names = Fields(lines[header], "\t,; ");
  std::size_t col_a = names.size(), col_h = names.size();
  for (std::size_t c = 0; c < names.size(); ++c) {
    if (names[c] == "A" || names[c] == "A_hor") col_a = c;
    if (names[c] == "H_hor") col_h = c;
  }
  if (col_a == names.size()) BadLine(header + 1, "нет столбца A");
  std::vector<ProfilePoint> points;
  for (std::size_t i = header + 1; i < lines.size(); ++i) {
    if (TrimBlanks(lines[i]).empty()) break;
    const std::vector<std::string_view> f = Fields(lines[i], "\t,; ");
    const auto a = f.size() > std::max(col_a, col_h) ? Number(f[col_a]) : std::nullopt;
    const auto h = a ? Number(f[col_h]) : std::nullopt;
    if (!h) BadLine(i + 1, "нужны числа A и H_hor");
    points.push_back(Checked(*a, *h, -180, i + 1));
  }
  return points;
}

std::vector<ProfilePoint> FromPlain(const std::vector<std::string_view>& lines) {
  std::vector<ProfilePoint> points;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = lines[i].substr(0, lines[i].find('#'));
    const std::vector<std::string_view> f = Fields(line, ",\t ");
    if (f.empty()) continue;
    const auto az = f.size() == 2 ? Number(f[0]) : std::nullopt;
    const auto el = az ? Number(f[1]) : std::nullopt;
    if (!el) BadLine(i + 1, "нужно азимут и высота, например 180 12.5");
    points.push_back(Checked(*az, *el, 0, i + 1));
  }
  return points;
}

}  // namespace

std::vector<ProfilePoint> ReadHorizonProfile(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  std::vector<ProfilePoint> points;
  if (first != std::string_view::npos && text[first] == '{') {
    points = FromJson(text);
  } else {
    const std::vector<std::string_view> lines = Lines(text);
    std::size_t header = lines.size();
    for (std::size_t i = 0; i < lines.size() && header == lines.size(); ++i) {
      for (const std::string_view f : Fields(lines[i], "\t,; "))
        if (f == "H_hor") header = i;
    }
    points = header < lines.size() ? FromCsv(lines, header) : FromPlain(lines);
  }
  if (points.empty()) throw CalcError(kNoProfile);
  return points;
}

std::vector<ProfilePoint> ThinProfile(std::vector<ProfilePoint> points, double raise, std::size_t max_points) {
  std::stable_sort(points.begin(), points.end(), [](const ProfilePoint& a, const ProfilePoint& b) { return a.az < b.az; });
  // Of several points at one azimuth only the arriving and the leaving elevation matter.
  std::vector<ProfilePoint> p;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const bool inner = i > 0 && i + 1 < points.size() && points[i - 1].az == points[i].az && points[i + 1].az == points[i].az;
    if (!inner) p.push_back(points[i]);
  }
  if (p.empty()) return p;
  if (p.back().az < p.front().az + 360) p.push_back({p.front().az + 360, p.front().el});
  const std::size_t n = p.size();
  while (true) {
    // The shortest chain of points from the first to the last: a step from i to j is allowed
    // when the straight line between them keeps every point passed within [el, el + raise].
    // For a fixed i the slopes that do so narrow as j moves on, so one sweep finds every step.
    std::vector<std::size_t> steps(n, n), from(n, 0);
    steps[0] = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
      if (steps[i] == n) continue;
      double lo = -INFINITY, hi = INFINITY;
      for (std::size_t j = i + 1; j < n; ++j) {
        const double dx = p[j].az - p[i].az;
        const double slope = dx > 0 ? (p[j].el - p[i].el) / dx : 0;
        if ((j == i + 1 || (slope >= lo - 1e-12 && slope <= hi + 1e-12)) && steps[i] + 1 < steps[j]) {
          steps[j] = steps[i] + 1;
          from[j] = i;
        }
        if (dx == 0) {
          if (!(p[j].el <= p[i].el && p[i].el <= p[j].el + raise)) break;
          continue;
        }
        lo = std::max(lo, (p[j].el - p[i].el) / dx);
        hi = std::min(hi, (p[j].el + raise - p[i].el) / dx);
        if (lo > hi + 1e-12) break;
      }
    }
    if (steps[n - 1] + 1 <= max_points || raise > 90) {
      std::vector<ProfilePoint> out(steps[n - 1] + 1);
      for (std::size_t k = n - 1, m = out.size(); m-- > 0; k = from[k]) out[m] = p[k];
      return out;
    }
    raise *= 2;
  }
}

std::string ProfileText(const std::vector<ProfilePoint>& points) {
  std::string text;
  for (const ProfilePoint& p : points) {
    if (!text.empty()) text += ' ';
    // The closing point comes round to the first azimuth, which the field reads as a full turn.
    text += FloatToStr(p.az > 360 ? p.az - 360 : p.az) + ':' + FloatToStr(p.el);
  }
  return text;
}

std::string HorizonFromProfile(std::string_view text) { return ProfileText(ThinProfile(ReadHorizonProfile(text))); }

}  // namespace kelmar
