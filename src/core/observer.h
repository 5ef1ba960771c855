#pragma once
// Where the observer stands, converted once from the latitude and longitude fields. Every table
// that depends on the place takes one of these instead of reading the fields itself.
#include "input_fields.h"

namespace kelmar {

// Refused latitudes: outside −90…90 there is no such place, and a table for one would look real.
inline constexpr const char* kLatitudeRangeText = "Широта должна быть от -90 до 90";

struct Observer {
  // Latitude, north positive, as typed, within [−90, 90].
  double LatDeg = 0;
  double LatRad = 0;  // LatDeg in radians
  double SinLat = 0;  // sin LatRad
  double CosLat = 1;  // cos LatRad
  // Longitude in degrees, east positive: as typed within [−180, 180], else reduced into it by
  // whole turns (exactly, so 1e308 still names a meridian).
  double LonDeg = 0;
  double LonTurns = 0;  // LonDeg / 360, the sun table's local sidereal offset in turns
};

// The observer at a latitude and an east longitude, both in degrees. Throws
// CalcError(kLatitudeRangeText) for a latitude outside [−90, 90] or not finite, and
// CalcError(kLongitudeInvalidText) for a longitude that is not finite.
Observer ObserverAt(double lat_deg, double lon_deg);
inline constexpr const char* kLongitudeInvalidText = "Неверная долгота";

// True for a latitude within [−90, 90]; the one rule for every table and every stored place.
inline bool IsLatitude(double lat_deg) { return lat_deg >= -90 && lat_deg <= 90; }
// Throws CalcError(kLatitudeRangeText) unless IsLatitude.
void CheckLatitude(double lat_deg);

// From EditSir and EditDolg alone; the other fields are not read. Throws the conversion's
// CalcError ("'abc' is not a valid floating point value"), the longitude's first when both fail,
// then ObserverAt's.
Observer ObserverFromFields(const InputFields& in);

}  // namespace kelmar
