#pragma once
// The numbers behind the pictures: the geostationary arc as the satellite table gives it, the
// Sun's path over one day and the year's rises, sets and twilights, all from the tables' own
// computations.
#include <string>
#include <vector>

#include "horizon.h"
#include "input_fields.h"

namespace kelmar {

// One position of the satellite table as the sky view marks it.
struct ArcSlot {
  int lon = 0;  // whole degrees east, as the table's SatSlot
  std::string label, azimuth, elevation, correction;  // the cells as the table shows them
  // Degrees, the table's numbers rounded to tenths as shown; az is NaN where the table has no
  // azimuth ("---", "зенит"), el is 90 overhead.
  double az = 0, el = 0;
  bool visible = false;  // above the horizon mask
};

// The 160 positions of the fields' place in table order (first column group top to bottom,
// then the next). Throws CalcError for a bad latitude or longitude.
std::vector<ArcSlot> ArcOf(const InputFields& in, const Horizon& horizon);
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
