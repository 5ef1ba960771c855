#pragma once
// The dish pointing table of 160 geostationary positions.
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

// Fills rows 1..40 of StringGridSat: the 160 positions nearest the observer's meridian.
// With a declination (degrees, east positive) the azimuths are compass bearings, one decimal
// everywhere but "---" and "зенит".
void Satel(const Observer& obs, TextGrid& StringGridSat, std::optional<double> compass_declination = std::nullopt);

}  // namespace kelmar
