#pragma once
// Aiming a dish by the Sun: the moments of a local day when the Sun stands at a slot's true
// azimuth ("sun": face the Sun and you face the satellite) or at the opposite one ("shadow": a
// vertical pole's shadow points at the satellite). A compass is rough near metal; these
// moments give the bearing exactly.
#include <string>
#include <vector>

#include "horizon.h"
#include "input_fields.h"
#include "magnetic.h"
#include "observer.h"
#include "text_grid.h"

namespace kelmar {

// The Sun seen from obs at the moment ut (DaySerial in GMT): azimuth 0–360 from north through
// east and geometric elevation, degrees; the sun table's model.
struct SunPlace {
  double az = 0, el = 0;
};
SunPlace SunPlaceAt(const Observer& obs, double ut);

enum class AlignKind { Sun, Shadow };

struct AlignEvent {
  AlignKind kind = AlignKind::Sun;
  int seconds = 0;          // local time of day, whole seconds, 0–86399
  double hours = 0;         // the same unrounded, for drawing
  double azimuth = 0;       // the Sun's, degrees
  double elevation = 0;     // the Sun's, degrees
  bool above_horizon = false;  // above the sun table's rise/set threshold
  bool above_mask = false;     // above the place's horizon mask at the Sun's azimuth
};

struct AlignDay {
  CalendarDate date;
  std::vector<AlignEvent> events;  // in time order; empty when the Sun meets neither azimuth
};

struct AlignTable {
  std::string slot;                   // normal form
  double azimuth = 0, elevation = 0;  // of the satellite, degrees
  std::vector<AlignDay> days;
};

// The moments of `days` local days from `first` in the zone zone_hours (east of GMT), to the
// second, for a slot given in degrees east.
AlignTable ComputeAlignment(const Observer& obs, double zone_hours, double slot_east, const Horizon& horizon,
                            CalendarDate first, int days);
// The same for the fields' place, zone and slot (ESlot). Throws CalcError for a bad longitude,
// latitude, slot or zone text, in that order.
AlignTable ComputeAlignment(const InputFields& in, const Horizon& horizon, CalendarDate first, int days);

// One row per moment (a day without any gets one row that says so) under a header row.
inline constexpr int kAlignCols = 6;
TextGrid MakeAlignGrid(const AlignTable& table);
// One moment as the line writes it: "12:43:28 (34.2°)", "(за препятствием)", "(под горизонтом)".
std::string AlignEventText(const AlignEvent& e);
// The outage tab's line for one day: "20.03.2026  по Солнцу 12:43:28 (34.2°)  по тени нет".
std::string AlignLine(const AlignDay& day);

}  // namespace kelmar
