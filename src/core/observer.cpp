#include "observer.h"

#include <cmath>

#include "number_text.h"
#include "angles.h"

namespace kelmar {

Observer ObserverAt(double lat_deg, double lon_deg) {
  Observer obs;
  obs.LatDeg = lat_deg;
  obs.LatRad = lat_deg * kDegToRad;
  obs.SinLat = std::sin(obs.LatRad);
  obs.CosLat = std::cos(obs.LatRad);
  obs.LonDeg = lon_deg;
  obs.LonTurns = lon_deg / 360;
  return obs;
}

Observer ObserverFromFields(const InputFields& in) {
  const double lon = StrToFloat(in.longitude);  // converted first: its error wins when both fail
  return ObserverAt(StrToFloat(in.latitude), lon);
}

}  // namespace kelmar
