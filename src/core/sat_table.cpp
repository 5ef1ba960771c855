#include "sat_table.h"

#include <cmath>
#include <limits>
#include <string>

#include "angles.h"
#include "magnetic.h"
#include "table_text.h"
#include "trig.h"

namespace kelmar {
namespace {

constexpr double kTwoOrbitRadius = 2 * kOrbitRadius;
// 1 + r², one unit in the last place above what 1 + kOrbitRadius * kOrbitRadius gives.
constexpr double kOnePlusR2 = 44.79942399589097;
constexpr double kMinusRadToDeg = -180 / kPi;
constexpr double kPoleSin = 0.999;    // about 87.44° of latitude
constexpr double kSmallAngle = 0.01;  // radians, equator and zenith tests

// Longitudes outside [−180, 180] show the same place, brought back by whole turns.
double NormalizeLongitude(double lon) {
  lon = std::fmod(lon, 360.0);
  if (lon > 180) lon -= 360;
  if (lon < -180) lon += 360;
  return lon;
}

}  // namespace

void Modif(int& SlotLon) {
  SlotLon += 1;
  if (SlotLon < -180) SlotLon += 360;
  if (SlotLon > 180) SlotLon -= 360;
}

namespace {

// What every position of one observer shares.
struct SlotFrame {
  double lon, phi, abs_sin_lat, tan_phi;
  bool equatorial, polar;
};

SlotFrame FrameOf(const Observer& obs) {
  const double phi = obs.LatRad;
  return {NormalizeLongitude(obs.LonDeg), phi, std::abs(obs.SinLat), trig::tan(phi), std::abs(phi) < kSmallAngle,
          std::abs(obs.SinLat) > kPoleSin};
}

// Every member but lon, for a position `slot` degrees east (a whole number in the table).
void PointAt(const Observer& obs, const SlotFrame& f, double slot, std::optional<double> compass_declination,
             SatSlot& s) {
  constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
  double dl = (slot - f.lon) * kPi / 180;
  while (dl > kPi) dl -= kTwoPi;
  while (dl <= -kPi) dl += kTwoPi;
  const double sin_dl = trig::sin(dl);
  const double cos_dl = trig::cos(dl);
  const bool overhead = std::abs(dl) < kSmallAngle && f.equatorial;
  s.kind = f.polar ? SlotKind::Pole : overhead ? SlotKind::Zenith : f.equatorial ? SlotKind::Equator : SlotKind::Normal;

  if (f.polar || overhead) {
    s.azimuth = kNone;
  } else {
    double az = dl < 0 ? 270 : 90;
    if (!f.equatorial) {
      const double a = 90 * (1 + Sign(cos_dl * obs.SinLat));
      const double b = Sign(f.phi) * 180 / kPi;
      az = a - b * trig::atan(trig::tan(dl) / f.abs_sin_lat);
      if (az < 0) az += 360;
    }
    if (compass_declination) az = CompassAzimuth(az, *compass_declination);
    s.azimuth = az;
  }

  const double g = cos_dl * obs.CosLat;  // cosine of the central angle observer–subsatellite point
  s.elevation = overhead ? 90 : trig::atan((g - kInvOrbitRadius) / std::sqrt(1 - g * g)) * 180 / kPi;
  // The one-decimal text rounds to nearest on the exact binary value, and the double nearest
  // -0.05 lies below -0.05: from it on the text reads "-0.1".
  s.below_horizon = !overhead && s.elevation <= -0.05;

  if (overhead || f.equatorial) {
    s.correction = kNone;
  } else {
    const double slant = std::sqrt(kOnePlusR2 - kTwoOrbitRadius * g);
    s.correction = kMinusRadToDeg * trig::atan((slant * sin_dl / f.tan_phi) / (kOrbitRadius - g));
  }
}

}  // namespace

SatTable SatelliteSlots(const Observer& obs, std::optional<double> compass_declination) {
  const SlotFrame frame = FrameOf(obs);
  SatTable table;
  table.compass = compass_declination.has_value();
  // One degree west of the first position: 80 positions at or west of floor(λ), 80 east of it.
  const int start = static_cast<int>(std::trunc(frame.lon));
  int slot = frame.lon > 0 ? start - 80 : start - 81;

  for (SatSlot& s : table.positions) {
    Modif(slot);
    s.lon = slot;
    PointAt(obs, frame, slot, compass_declination, s);
  }
  return table;
}

SatSlot PointAtSlot(const Observer& obs, double slot_east, std::optional<double> compass_declination) {
  SatSlot s;
  s.lon = static_cast<int>(std::lround(slot_east));
  if (s.lon == 180) s.lon = -180;
  PointAt(obs, FrameOf(obs), slot_east, compass_declination, s);
  return s;
}

void Satel(const Observer& obs, TextGrid& grid, std::optional<double> compass_declination) {
  FormatSatTable(SatelliteSlots(obs, compass_declination), grid);
}

}  // namespace kelmar
