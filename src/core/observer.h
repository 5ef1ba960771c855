#pragma once
// Where the observer stands, converted once from the latitude and longitude fields. Every table
// that depends on the place takes one of these instead of reading the fields itself.
#include "input_fields.h"

namespace kelmar {

struct Observer {
  // Latitude, north positive, exactly as typed: never clamped into [−90, 90], so an absurd text
  // still gives a full (if meaningless) table.
  double LatDeg = 0;
  double LatRad = 0;  // LatDeg in radians
  double SinLat = 0;  // sin LatRad
  double CosLat = 1;  // cos LatRad
  // Longitude in degrees, east positive, exactly as typed: not reduced into [−180, 180]; the
  // satellite table reduces it by whole turns itself.
  double LonDeg = 0;
  double LonTurns = 0;  // LonDeg / 360, the sun table's local sidereal offset in turns
};

// The observer at a latitude and an east longitude, both in degrees.
Observer ObserverAt(double lat_deg, double lon_deg);

// From the latitude and longitude texts alone; the other fields are not read. Throws the conversion's
// CalcError ("'abc' is not a valid floating point value"), the longitude's first when both fail.
Observer ObserverFromFields(const InputFields& in);

}  // namespace kelmar
