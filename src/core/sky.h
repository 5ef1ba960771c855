#pragma once
// The numbers behind the pictures: the geostationary arc as the satellite table gives it, the
// Sun's path over one day and the year's rises, sets and twilights, all from the tables' own
// computations.
#include <string>
#include <vector>

#include "horizon.h"
#include "input_fields.h"
#include "text_grid.h"

namespace kelmar {

// The satellite table for the fields' place. Throws CalcError for a bad latitude or longitude.
TextGrid SatelliteTableOf(const InputFields& in);

// One position of the satellite table, with the numbers read back from its cells.
struct ArcSlot {
  std::string label, azimuth, elevation, correction;  // the cells as the table shows them
  double az = 0, el = 0;  // degrees; az is NaN where the table has no azimuth ("---")
  bool visible = false;   // above the horizon mask
};

// The 160 positions in table order (first column group top to bottom, then the next).
std::vector<ArcSlot> ArcFromTable(const TextGrid& sat, const Horizon& horizon);
int VisibleSlots(const std::vector<ArcSlot>& arc);

struct SunPoint {
  double hours;  // local time of the zone of the fields
  double az;     // degrees from north through east
  double el;     // degrees, geometric
};

struct SunDay {
  std::vector<SunPoint> path;  // every 5 minutes from 00:00 to 24:00
  std::vector<SunPoint> rises, sets;  // the sun table's crossings of the day
};

// The Sun over the local day year-month-day, as the sun table follows it. Throws CalcError for
// a bad latitude, longitude or zone text.
SunDay SunDayOf(const InputFields& in, int year, int month, int day);
// The Sun's place at a local time of that day.
SunPoint SunAt(const InputFields& in, int year, int month, int day, double hours);

// One day of the year chart: the sun table's crossings in local hours.
struct DaylightDay {
  std::vector<double> rises, sets;  // the Sun's upper limb at the horizon
  std::vector<double> dawns, dusks; // the twilight threshold
  double noon = 0;                  // the upper transit; 0 on a day without one, as in the table
  bool up_at_midnight = false;      // the state at 00:00, before any crossing
  bool light_at_midnight = false;
};

// Every day of the year, January 1 first. Throws CalcError for a bad text in the fields.
std::vector<DaylightDay> YearDaylight(const InputFields& in, int year);

}  // namespace kelmar
