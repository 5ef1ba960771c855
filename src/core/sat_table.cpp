#include "sat_table.h"

#include <charconv>
#include <cmath>
#include <string>

#include "magnetic.h"
#include "number_text.h"
#include "solar.h"

namespace kelmar {
namespace {

constexpr double kOrbitRadius = 6.618113326008476;  // 42164 km / 6371 km
constexpr double kInvOrbitRadius = 0.1511004648515321;
constexpr double kTwoOrbitRadius = 13.236226652016953;
constexpr double kOnePlusR2 = 44.79942399589097;
constexpr double kMinusRadToDeg = -57.29577951308232;
constexpr double kPoleSin = 0.999;    // about 87.44° of latitude
constexpr double kSmallAngle = 0.01;  // radians, equator and zenith tests

double Sgn(double x) { return x < 0 ? -1.0 : x > 0 ? 1.0 : 0.0; }

// "42 W", "117 E", and "0" and "180" alone; −180 is "180 W".
void WriteSlotLabel(std::string& cell, int slot) {
  char buf[8];
  char* p = std::to_chars(buf, buf + 4, slot < 0 ? -slot : slot).ptr;
  if (slot != 0 && slot != 180) {
    *p++ = ' ';
    *p++ = slot < 0 ? 'W' : 'E';
  }
  TextGrid::AssignCell(cell, std::string_view(buf, static_cast<std::size_t>(p - buf)));
}

void WriteNumber(std::string& cell, double value) {
  char buf[kOneDecimalMax];
  TextGrid::AssignCell(cell, std::string_view(buf, FormatOneDecimal(value, buf)));
}

// Longitudes outside [−180, 180] show the same place, brought back by whole turns.
double NormalizeLongitude(double lon) {
  lon = std::fmod(lon, 360.0);
  if (lon > 180) lon -= 360;
  if (lon < -180) lon += 360;
  return lon;
}

}  // namespace

void Modif(CalcState& st) {
  st.SlotLon += 1;
  if (st.SlotLon < -180) st.SlotLon += 360;
  if (st.SlotLon > 180) st.SlotLon -= 360;
}

void Satel(CalcState& st, const InputFields& in, TextGrid& grid, std::optional<double> compass_declination) {
  const double lon = NormalizeLongitude(StrToFloat(in.EditDolg));
  const double phi = st.LatRad;
  const bool equatorial = std::abs(phi) < kSmallAngle;
  const bool polar = std::abs(st.SinLat) > kPoleSin;
  const double abs_sin_lat = std::abs(st.SinLat);
  const double tan_phi = std::tan(phi);  // the same for every position

  // One degree west of the first position: 80 positions at or west of floor(λ), 80 east of it.
  const int start = static_cast<int>(std::trunc(lon));
  st.SlotLon = lon > 0 ? start - 80 : start - 81;

  for (int k = 1; k <= 160; ++k) {
    Modif(st);
    const int col = 5 * ((k - 1) / 40);
    const int row = (k - 1) % 40 + 1;
    WriteSlotLabel(grid.Cell(col, row), st.SlotLon);

    double dl = (st.SlotLon - lon) * kPi / 180;
    while (dl > kPi) dl -= kTwoPi;
    while (dl <= -kPi) dl += kTwoPi;
    const double sin_dl = std::sin(dl);
    const double cos_dl = std::cos(dl);
    const bool overhead = std::abs(dl) < kSmallAngle && equatorial;

    std::string& az_cell = grid.Cell(col + 1, row);
    if (polar) {
      TextGrid::AssignCell(az_cell, "---");
    } else if (overhead) {
      TextGrid::AssignCell(az_cell, "зенит");
    } else if (equatorial && !compass_declination) {
      TextGrid::AssignCell(az_cell, dl < 0 ? "270" : "90");
    } else {
      double az = dl < 0 ? 270 : 90;
      if (!equatorial) {
        const double a = 90 * (1 + Sgn(cos_dl * st.SinLat));
        const double b = Sgn(phi) * 180 / kPi;
        az = a - b * std::atan(std::tan(dl) / abs_sin_lat);
        if (az < 0) az += 360;
      }
      if (compass_declination) az = CompassAzimuth(az, *compass_declination);
      WriteNumber(az_cell, az);
    }

    const double g = cos_dl * st.CosLat;  // cosine of the central angle observer–subsatellite point
    std::string& el_cell = grid.Cell(col + 2, row);
    if (overhead) {
      TextGrid::AssignCell(el_cell, "зенит");
    } else {
      WriteNumber(el_cell, std::atan((g - kInvOrbitRadius) / std::sqrt(1 - g * g)) * 180 / kPi);
    }

    std::string& corr_cell = grid.Cell(col + 3, row);
    if (overhead) {
      TextGrid::AssignCell(corr_cell, "---");
    } else if (equatorial) {
      TextGrid::AssignCell(corr_cell, "+");
    } else {
      const double slant = std::sqrt(kOnePlusR2 - kTwoOrbitRadius * g);
      WriteNumber(corr_cell, kMinusRadToDeg * std::atan((slant * sin_dl / tan_phi) / (kOrbitRadius - g)));
    }
  }
}

}  // namespace kelmar
