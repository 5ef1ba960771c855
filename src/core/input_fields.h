#pragma once
// What the computations take from the user: texts exactly as typed (a bad one is reported by the
// computation that converts it), and the choices. The window maps its controls onto these at
// one place, kelmar-cli its options; the tests fill them directly.
#include <string>

namespace kelmar {

// Where the zone offset counts from. (The window's RadioButtonGMT / RadioButtonMSK.)
enum class ZoneKind { FromGmt, FromMoscow };
// How the twilight threshold is given. (RadioButtonUgol / RadioButtonVys.)
enum class TwilightKind { ByAngle, ByHeight };

struct InputFields {
  std::string latitude;                    // degrees, north positive (EditSir)
  std::string longitude;                   // degrees, east positive (EditDolg)
  ZoneKind zone = ZoneKind::FromMoscow;    // which of the two offsets counts
  std::string gmt_offset = "3";            // hours east of GMT (EditGMT)
  std::string msk_offset = "0";            // hours from Moscow time, which is GMT + 4 (EditMSK)
  TwilightKind twilight = TwilightKind::ByAngle;
  std::string twilight_angle = "6";        // the Sun's depression, degrees (EditUg)
  std::string twilight_height = "12.345";  // the observer's height, km (EditKm)
  bool seconds = false;                    // times with seconds (CheckBoxSec)
  std::string slot = "0";                  // sun outages: the satellite's orbital position (ESlot)
  std::string dish = "0.9";                // sun outages: dish diameter, m (EDish)
  std::string frequency = "12";            // sun outages: frequency, GHz (EFreq)
  bool compass = false;                    // satellite azimuths as compass bearings (CheckBoxMagAz)

  bool FromMoscow() const { return zone == ZoneKind::FromMoscow; }
  bool ByAngle() const { return twilight == TwilightKind::ByAngle; }
  // The offset of the chosen zone kind, as typed.
  const std::string& ZoneOffset() const { return FromMoscow() ? msk_offset : gmt_offset; }
};

}  // namespace kelmar
