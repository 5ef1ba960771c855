#pragma once
// Horizon profiles made by other tools, turned into the horizon field's text: PVGIS's horizon
// output (CSV or JSON, azimuth counted from south) or a plain "azimuth elevation" list.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kelmar {

struct ProfilePoint {
  double az;  // true azimuth, degrees from north through east
  double el;  // degrees above the horizon, never below 0
};

// The points of a profile file's text, in the file's order. Recognised: JSON with
// outputs.horizon_profile[] holding A and H_hor; CSV whose header row has the columns A and
// H_hor, the data rows up to the first empty line; otherwise two numbers a line separated by a
// comma, tabs or blanks, "#" starting a comment. PVGIS's A counts from south (0 = south,
// 90 = west): the true azimuth is A + 180. An elevation below 0 is no obstruction and reads as 0.
// Throws CalcError naming the bad line (the point, in JSON) or saying the file has no profile.
std::vector<ProfilePoint> ReadHorizonProfile(std::string_view text);

// The fewest of the points (sorted by azimuth, the circle closed) whose broken line never lies
// below the profile's and at most `raise` degrees above it, no more than max_points of them;
// where that many cannot hold the profile within `raise`, the allowance is doubled until they do.
std::vector<ProfilePoint> ThinProfile(std::vector<ProfilePoint> points, double raise = 0.5, std::size_t max_points = 360);

// "0:3.4 7.5:4 ... 360:3.4", as the horizon field takes it.
std::string ProfileText(const std::vector<ProfilePoint>& points);

// All three: the horizon field's text for a profile file's text.
std::string HorizonFromProfile(std::string_view text);

}  // namespace kelmar
