#pragma once
// The user's horizon: obstructions as azimuth:elevation pairs, "90:5 150:25 210:25 270:3".
#include <string>
#include <string_view>
#include <vector>

namespace kelmar {

class Horizon {
 public:
  struct Point {
    double az;  // degrees, unwrapped: never less than the previous point's
    double el;  // degrees above the horizon
  };

  // Pairs separated by blanks, each "azimuth:elevation" with azimuth 0–360 and elevation 0–90
  // ("." as the decimal separator). The points follow each other clockwise from the first; the
  // arc they cover may not exceed one turn. An empty text is no obstruction. Throws CalcError
  // naming the first bad pair.
  static Horizon Parse(std::string_view text);

  // The obstruction's elevation at an azimuth: linear between neighbouring points, the higher
  // side on a vertical edge, 0 outside the covered arc.
  double ElevationAt(double az) const;

  bool Empty() const { return points_.empty(); }
  const std::vector<Point>& Points() const { return points_; }

 private:
  std::vector<Point> points_;
};

}  // namespace kelmar
