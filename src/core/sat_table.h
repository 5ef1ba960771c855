#pragma once
// The dish pointing table of 160 geostationary positions.
#include <optional>

#include "calc_state.h"
#include "input_fields.h"
#include "text_grid.h"

namespace kelmar {

// Advances SlotLon by one degree and wraps it into [−180, 180].
void Modif(CalcState& st);

// Fills rows 1..40 of StringGridSat from EditDolg and the latitude state left by Calc.
// Throws CalcError only when EditDolg is not a number, before any cell is written.
// With a declination (degrees, east positive) the azimuths are compass bearings, one decimal
// everywhere but "---" and "зенит".
void Satel(CalcState& st, const InputFields& in, TextGrid& StringGridSat,
           std::optional<double> compass_declination = std::nullopt);

}  // namespace kelmar
