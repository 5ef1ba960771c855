#include "observer.h"

#include <cmath>

#include "calc_error.h"
#include "number_text.h"
#include "angles.h"
#include "trig.h"

namespace kelmar {

void CheckLatitude(double lat_deg) {
  if (!IsLatitude(lat_deg)) throw CalcError(kLatitudeRangeText);
}

Observer ObserverAt(double lat_deg, double lon_deg) {
  CheckLatitude(lat_deg);
  if (!std::isfinite(lon_deg)) throw CalcError(kLongitudeInvalidText);
  if (std::abs(lon_deg) > 180) {
    lon_deg = std::fmod(lon_deg, 360.0);  // exact
    if (lon_deg > 180) lon_deg -= 360;
    if (lon_deg < -180) lon_deg += 360;
  }
  Observer obs;
  obs.LatDeg = lat_deg;
  obs.LatRad = lat_deg * kDegToRad;
  obs.SinLat = trig::sin(obs.LatRad);
  obs.CosLat = trig::cos(obs.LatRad);
  obs.LonDeg = lon_deg;
  obs.LonTurns = lon_deg / 360;
  return obs;
}

Observer ObserverFromFields(const InputFields& in) {
  const double lon = StrToFloat(in.longitude);  // converted first: its error wins when both fail
  return ObserverAt(StrToFloat(in.latitude), lon);
}

}  // namespace kelmar
