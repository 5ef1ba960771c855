#include "horizon.h"

#include <algorithm>
#include <cmath>

#include "calc_error.h"
#include "number_text.h"

namespace kelmar {
namespace {

std::string BadPair(std::string_view pair) {
  return "Неверная точка горизонта '" + std::string(pair) + "': нужно азимут:высота, азимут 0–360, высота 0–90";
}

}  // namespace

Horizon Horizon::Parse(std::string_view text) {
  Horizon h;
  std::size_t pos = 0;
  while (true) {
    pos = text.find_first_not_of(" \t", pos);
    if (pos == std::string_view::npos) break;
    std::size_t end = text.find_first_of(" \t", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view pair = text.substr(pos, end - pos);
    pos = end;
    const std::size_t colon = pair.find(':');
    if (colon == std::string_view::npos) throw CalcError(BadPair(pair));
    const auto az = ParseFloat(pair.substr(0, colon));
    const auto el = ParseFloat(pair.substr(colon + 1));
    if (!az || !el || !(*az >= 0 && *az <= 360) || !(*el >= 0 && *el <= 90)) throw CalcError(BadPair(pair));
    double unwrapped = *az;
    if (!h.points_.empty()) {
      const double prev = h.points_.back().az;
      double step = *az - std::fmod(prev, 360.0);
      if (step < 0) step += 360;
      unwrapped = prev + step;
      if (unwrapped - h.points_.front().az > 360)
        throw CalcError("Точки горизонта обходят больше одного круга: '" + std::string(pair) + "'");
    }
    h.points_.push_back({unwrapped, *el});
  }
  return h;
}

double Horizon::ElevationAt(double az) const {
  if (points_.empty()) return 0;
  const double first = points_.front().az;
  double q = std::fmod(az - first, 360.0);
  if (q < 0) q += 360;
  double best = 0;
  // A full turn ends where it starts: the last point is also met at the first azimuth.
  for (const double a : {first + q, first + q + 360}) {
    for (std::size_t i = 0; i < points_.size(); ++i) {
      const Point& p = points_[i];
      if (a == p.az) best = std::max(best, p.el);
      if (i + 1 < points_.size() && a > p.az && a < points_[i + 1].az) {
        const Point& n = points_[i + 1];
        best = std::max(best, p.el + (n.el - p.el) * (a - p.az) / (n.az - p.az));
      }
    }
  }
  return best;
}

}  // namespace kelmar
