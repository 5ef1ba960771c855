#pragma once
// Sun outages: the minutes of the year when the Sun stands behind a geostationary satellite as
// seen from the dish and blinds the receiver.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "input_fields.h"
#include "observer.h"
#include "text_grid.h"

namespace kelmar {

// Orbital positions as the satellite table writes them ("36 E", "5 W", "0", "180"), also without
// the blank, in lower case and with decimals ("19.2E"). Returns degrees east in (−180, 180].
std::optional<double> ParseSlot(std::string_view text);
// As ParseSlot, throwing CalcError("Неверная позиция спутника 'TEXT'").
double SlotFromText(std::string_view text);
// "36 E", "19.2 E", "5 W"; "0" and "180" alone.
std::string SlotText(double east);

// The half-power beamwidth is about kBeamwidthFactor·λ/D degrees; the Sun's disc adds its radius.
inline constexpr double kBeamwidthFactor = 70;
inline constexpr double kSunRadiusDeg = 0.267;
inline constexpr double kLightSpeed = 299792458;  // m/s
// The separation below which the Sun blinds the dish, degrees. Throws CalcError for a dish
// outside 0.1–30 m or a frequency outside 1–50 GHz.
double OutageAngle(double dish_m, double freq_ghz);

// The observer and the slot in the satellite table's geometry.
struct OutageSite {
  Observer obs;
  double slot_east = 0;
};
// The angle between the Sun and the satellite seen from the observer at the moment ut
// (DaySerial in GMT), degrees.
double SunSatSeparation(const OutageSite& site, double ut);

// One outage: DaySerial moments in GMT and the separation at the peak, degrees.
struct OutagePass {
  double start = 0, peak = 0, end = 0;
  double separation = 0;
};
// The passes whose peak falls in [from, to) (GMT DaySerial) for the angle alpha, in time order.
// Only meaningful for a visible slot.
std::vector<OutagePass> FindOutages(const OutageSite& site, double alpha, double from, double to);

// A pass as shown: local date of the peak, times "hh:mm:ss", duration "mm:ss" (minutes uncapped).
struct OutageRow {
  int year = 0, month = 0, day = 0;
  std::string start, peak, end, duration;
  double separation = 0;
};

struct OutageTable {
  std::string slot;  // normal form
  double angle = 0;
  bool visible = false;
  double azimuth = 0, elevation = 0;  // of the satellite, degrees, unrounded
  std::vector<OutageRow> rows;
};

// The outages of the year in the zone of the fields. Throws CalcError for a bad field text
// (longitude, latitude, slot, dish, frequency, zone, in that order).
OutageTable ComputeOutages(const InputFields& in, int year);
// The angle of the fields EDish and EFreq.
double OutageAngleOf(const InputFields& in);
// The same for a slot given as degrees east, seen from obs, the angle and the zone (hours east
// of GMT) already known.
OutageTable ComputeOutages(const Observer& obs, double zone_hours, double slot_east, double angle, int year);

// The table as the window shows it: a header row, then one row per outage.
inline constexpr int kOutageCols = 6;
TextGrid MakeOutageGrid(const OutageTable& table);
// "26.02.2026"
std::string OutageDateText(const OutageRow& row);
// Two decimals, as the table shows angles: "1.24".
std::string FormatTwoDecimals(double value);
// "Спутник 36 E не виден из этого пункта"
std::string HiddenSlotMessage(const std::string& slot);
// The line above the table: "Угол интерференции 1.94°   Азимут 181.9°   Высота 26.5°".
std::string OutageInfoLine(const OutageTable& table);
// What stands instead of the table: the hidden slot's message, "В 2026 году интерференции нет"
// for a visible slot without outages, nothing when there are rows.
std::string OutageNote(const OutageTable& table, int year);

}  // namespace kelmar
