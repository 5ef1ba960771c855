#pragma once
// The dish pointing table of 160 geostationary positions: typed rows, and the table
// StringGridSat made from them.
#include <array>
#include <optional>

#include "observer.h"
#include "text_grid.h"

namespace kelmar {

inline constexpr double kOrbitRadius = 42164.0 / 6371.0;  // geostationary orbit in Earth radii
inline constexpr double kInvOrbitRadius = 6371.0 / 42164.0;
// Beyond about 81.3° of latitude the whole orbit is below the horizon.
inline constexpr const char* kNoSlotsAtPoleText = "Спутники не видны у полюса";

// Advances an orbital position (whole degrees east) by one degree and wraps it into [−180, 180].
void Modif(int& SlotLon);

// How a position's cells read. Pole: no azimuth ("---"); Equator: the azimuth due east or west
// and no correction ("+"); Zenith: straight overhead of an observer on the equator.
enum class SlotKind { Normal, Equator, Zenith, Pole };

// No member initializers: SatelliteSlots writes every member of all 160, so the table is not
// cleared first.
struct SatSlot {
  int lon;            // orbital position, whole degrees east in [−180, 180]; −180 reads "180 W"
  double azimuth;     // degrees from north through east, a compass bearing with a declination;
                      // NaN at a pole and overhead
  double elevation;   // degrees above the horizon; 90 overhead
  double correction;  // the polarisation correction, degrees; NaN on the equator and overhead
  SlotKind kind;
  // The elevation as the table shows it is below zero (-0.04 shows as "-0.0", which is not).
  bool below_horizon;
};

// A position as the outage tab and the slot names count it, whole degrees east in (−180, 180]:
// the table's "180 W" is 180.
inline int SlotEast(int lon) { return lon == -180 ? 180 : lon; }

// The 160 positions in table order: each column group top to bottom, then the next group.
inline constexpr int kSlotCount = kSlotGroups * kSlotsPerGroup;

struct SatTable {
  std::array<SatSlot, kSlotCount> positions;
  bool compass;  // azimuths are compass bearings
};

// The cell of the position with table index i (0…159): the column of its label and its row.
struct SlotCell {
  int col, row;
};
inline SlotCell SlotCellOf(int i) { return {kGroupCols * (i / kSlotsPerGroup), i % kSlotsPerGroup + 1}; }
// The index of the position a cell of its group shows (any of its four columns), -1 for a
// separator column or the header row.
inline int SlotIndexAt(int col, int row) {
  if (row < 1 || row > kSlotsPerGroup || col < 0 || col % kGroupCols == kGroupCols - 1 || col >= kSatCols) return -1;
  return col / kGroupCols * kSlotsPerGroup + row - 1;
}

// The 160 positions nearest the observer's meridian. With a declination (degrees, east
// positive) the azimuths are compass bearings.
SatTable SatelliteSlots(const Observer& obs, std::optional<double> compass_declination = std::nullopt);

// One position, whole or not (degrees east), as the table computes its own; lon is the nearest
// whole one. The same numbers as the table's row for a whole position.
SatSlot PointAtSlot(const Observer& obs, double slot_east, std::optional<double> compass_declination = std::nullopt);

// Both steps.
void Satel(const Observer& obs, TextGrid& StringGridSat, std::optional<double> compass_declination = std::nullopt);

}  // namespace kelmar
