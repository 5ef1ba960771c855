#pragma once
// Small helpers shared by the table tests: fields of a place, a fresh state, cell patterns.
#include <string>
#include <string_view>

#include "core/calc_state.h"
#include "core/input_fields.h"
#include "core/text_grid.h"

namespace kelmar::testing_support {

// Fields of a place with a GMT zone and a twilight angle, seconds off.
InputFields PlaceFields(std::string_view lat, std::string_view lon, std::string_view gmt = "3");
// A state as the window has it after start-up, for the given month, with Russian names.
CalcState MonthState(int year, int month);

// "hh:nn" (or "hh:nn:ss") with hours 00..24, minutes and seconds 00..59.
bool IsTime(std::string_view text, bool seconds = false);
// Minutes after midnight of an "hh:nn" text.
int Minutes(std::string_view text);
// A number with exactly one decimal: "43.3", "-0.0".
bool IsOneDecimal(std::string_view text);
// True when some cell holds "nan" or "inf" in any case.
bool HasNanOrInf(const TextGrid& grid);
// Every cell of rows first..last empty.
bool RowsEmpty(const TextGrid& grid, int first, int last);

}  // namespace kelmar::testing_support
